// orcalc: starts with the linear-programming window and ends when it closes.
#include <QApplication>
#include <QStringList>
#include <cstdio>

#include "app/application.h"
#include "app/form1.h"
#include "graph/graph_screenshot.h"

int main(int argc, char** argv) {
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
  const qsizetype graph_at = args.indexOf(QStringLiteral("--graph-screenshot"));
  if (graph_at > 0 && graph_at + 1 < args.size()) {
    return orcalc::ui::takeGraphScreenshot(args[graph_at + 1]);
  }

  orcalc::ui::Form1 form1;
  form1.show();
  return QApplication::exec();
}
