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

// Lays out and fills the example sheet in LpWindow, opens the cell editor
// over a cell, and saves a picture of the window to `path`. Returns the
// process exit status.
int takeScreenshot(const QString& path);

// Saves pictures of Qt's own dialogs as the program shows them into
// `folder`: a message box (message-box.png), the save dialog
// (save-dialog.png) and the report box's menu (context-menu.png). Returns
// the process exit status.
int takeDialogScreenshots(const QString& folder);

}  // namespace orcalc::ui
