#include "about/about_box.h"

#include "platform/platform.h"

namespace orcalc::ui {

frmAbout::frmAbout(QWidget* parent) : QDialog(parent) {
  setObjectName("frmAbout");
  setWindowTitle(QString::fromUtf8(kApplicationTitle));
}

frmAbout::~frmAbout() = default;

void showAboutBox(QWidget* parent) {
  frmAbout box(parent);
  Platform::current().runModal(&box);
}

}  // namespace orcalc::ui
