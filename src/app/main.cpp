// orcalc: starts with the linear-programming window and ends when it closes.
#include <QApplication>
#include <QStringList>
#include <cstdio>
#include <cstring>

#include "app/application.h"
#include "app/lp_window.h"
#include "common/version.h"
#include "graph/graph_screenshot.h"

namespace {

constexpr const char* kHelp =
    "Usage: orcalc [--help] [--version]\n"
    "\n"
    "The operations-research calculator: linear programming (two-phase simplex\n"
    "method), goal programming (priority levels) and column statistics, in\n"
    "windows with a Simplified Chinese interface. It starts with the\n"
    "linear-programming sheet window; type the counts, press 确定 (OK) to lay\n"
    "out the sheet, fill its cells and press 计算 (Calculate).\n"
    "\n"
    "  --help     show this help and exit\n"
    "  --version  show the version and exit\n"
    "\n"
    "Qt's own options (for example -platform offscreen) are accepted as well.\n"
    "orcalc-cli runs the same calculations on sheet files from the command line.\n"
    "\n"
    "Exit status: 0 when the window is closed, 1 when no graphical display can\n"
    "be reached.\n";

// The answers that need no display; -1 when the program is to start.
int AnswerWithoutDisplay(int argc, char** argv) {
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      return std::fputs(kHelp, stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 2;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      const bool ok = std::printf("orcalc %s\n%s", orcalc::kVersion, orcalc::kVersionNotice) >= 0;
      return ok && std::fflush(stdout) == 0 ? 0 : 2;
    }
  }
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (const int status = AnswerWithoutDisplay(argc, argv); status >= 0) return status;
  if (!orcalc::ui::displayAvailable()) {
    std::fprintf(stderr,
                 "orcalc needs a graphical display, and none is set (DISPLAY or "
                 "WAYLAND_DISPLAY).\nStart it from a desktop session, or under a virtual "
                 "one: xvfb-run orcalc\n");
    return 1;
  }
  QApplication app(argc, argv);
  orcalc::ui::setUpApplication(app);

  // Used by scripts/screenshot to redraw the pictures in the documentation.
  const QStringList args = QApplication::arguments();
  const qsizetype at = args.indexOf(QStringLiteral("--screenshot"));
  if (at > 0 && at + 1 < args.size()) return orcalc::ui::takeScreenshot(args[at + 1]);
  const qsizetype dialogs = args.indexOf(QStringLiteral("--dialog-screenshots"));
  if (dialogs > 0 && dialogs + 1 < args.size()) {
    return orcalc::ui::takeDialogScreenshots(args[dialogs + 1]);
  }
  const qsizetype graph_at = args.indexOf(QStringLiteral("--graph-screenshot"));
  if (graph_at > 0 && graph_at + 1 < args.size()) {
    return orcalc::ui::takeGraphScreenshot(args[graph_at + 1]);
  }

  orcalc::ui::LpWindow form1;
  form1.show();
  return QApplication::exec();
}
