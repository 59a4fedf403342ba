// The About box: title, version, description, and the system-information
// button.
#pragma once

#include <QDialog>

namespace orcalc::ui {

class frmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit frmAbout(QWidget* parent = nullptr);
  ~frmAbout() override;
};

// Opens the About box modally over `parent` (through the platform layer).
void showAboutBox(QWidget* parent);

}  // namespace orcalc::ui
