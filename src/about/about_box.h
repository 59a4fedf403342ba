// The About box: title, version, description, and the system-information
// button.
#pragma once

#include <QDialog>

#include "about/system_info.h"

class QFrame;
class QLabel;
class QPushButton;

namespace orcalc::ui {

class AboutBox : public QDialog {
  Q_OBJECT

 public:
  explicit AboutBox(QWidget* parent = nullptr);
  ~AboutBox() override;

  // The system-information tool 系统信息 starts (the machine's own unless
  // replaced, for example by a test).
  void setSystemInfoLauncher(SystemInfoLauncher& launcher) { launcher_ = &launcher; }

  // 系统信息: starts the system-information tool; when it cannot be found or
  // started, says "此时系统信息不可用".
  void startSystemInfo();

 private:
  SystemInfoLauncher* launcher_;
  // objectNames picIcon, lblTitle, lblVersion, lblDescription, lblDisclaimer,
  // Line1 (both), cmdOK and cmdSysInfo, as the box's design names them.
  QLabel* icon_ = nullptr;
  QLabel* titleLabel_ = nullptr;
  QLabel* versionLabel_ = nullptr;
  QLabel* descriptionLabel_ = nullptr;
  QLabel* disclaimerLabel_ = nullptr;
  QFrame* greyLine_ = nullptr;
  QFrame* whiteLine_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* systemInfoButton_ = nullptr;
};

// The description's six lines, separated by CR LF.
extern const char* const kAboutDescription;
// The warning line under the separator.
extern const char* const kAboutDisclaimer;
extern const char* const kSysInfoUnavailableMessage;

// Opens the About box modally over `parent` (through the platform layer).
void showAboutBox(QWidget* parent);

}  // namespace orcalc::ui
