// The module that orcalc-cli loads for graph --svg: the windows' drawing code
// and Qt, kept out of orcalc-cli itself so that its other commands start
// without loading Qt.
#include "cli/pictures/graph_svg_module.h"

#include <QGuiApplication>
#include <cstdio>
#include <cstring>
#include <new>
#include <string>

#include "graph/drawing/graph_export.h"

namespace {

// The size of the picture, in pixels at 96 per inch.
constexpr int kWidth = 800;
constexpr int kHeight = 600;

bool Fail(const std::string& reason, char* error, std::size_t error_size) {
  if (error_size > 0) {
    std::strncpy(error, reason.c_str(), error_size - 1);
    error[error_size - 1] = '\0';
  }
  return false;
}

}  // namespace

extern "C" bool orcalc_draw_graph_svg(const orcalc::lp::GraphGeometry* geometry, GraphSvgSink sink,
                                      void* context, char* error, std::size_t error_size) {
  try {
    // The texts need Qt's fonts, and so an application object; no display.
    // Qt's own notes (such as a missing runtime folder) are not this
    // program's output; its errors are.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& message) {
      if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "orcalc-cli: %s\n", qPrintable(message));
      }
    });
    int argc = 1;
    char name[] = "orcalc-cli";
    char* argv[] = {name, nullptr};
    const QGuiApplication application(argc, argv);

    using namespace orcalc::ui;
    const QByteArray bytes =
        renderGraphFile(*geometry, QSize(kWidth, kHeight), graphFont(), GraphFileFormat::Svg);
    if (bytes.isEmpty()) return Fail("out of memory", error, error_size);
    sink(context, bytes.constData(), static_cast<std::size_t>(bytes.size()));
    return true;
  } catch (const std::bad_alloc&) {
    return Fail("out of memory", error, error_size);
  }
}
