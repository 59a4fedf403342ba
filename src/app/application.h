// Program start: the application's look, and the screenshot mode used to
// regenerate the picture of the main window in the documentation.
#pragma once

class QApplication;
class QString;

namespace orcalc::ui {

// Whether a graphical display can be reached (an X or Wayland display, or
// a platform chosen explicitly through QT_QPA_PLATFORM).
bool displayAvailable();

// The application's name, icon, Qt's own texts in Chinese, and a font in
// which Chinese text renders.
void setUpApplication(QApplication& app);

// Lays out and fills the example sheet in Form1, opens the cell editor
// over a cell, and saves a picture of the window to `path`. Returns the
// process exit status.
int takeScreenshot(const QString& path);

}  // namespace orcalc::ui
