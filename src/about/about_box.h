// The About box: title, version, description, and the system-information
// button.
#pragma once

#include <QDialog>
#include <cstdint>
#include <string>

#include "about/system_info.h"

class QFrame;
class QLabel;
class QPushButton;

namespace orcalc::ui {

class frmAbout : public QDialog {
  Q_OBJECT

 public:
  explicit frmAbout(QWidget* parent = nullptr);
  ~frmAbout() override;

  // The registry, file test and program start used by the lookup (the
  // machine's own unless replaced, for example by a test).
  void setSystemAccess(const SystemAccess& access) { access_ = access; }

  // Reads value `SubKeyRef` of key `KeyName` under the root `KeyRoot` into
  // `KeyVal`: a string value as its text, a 32-bit number as "&h" and two
  // hexadecimal digits a byte, most significant first. Other types leave
  // KeyVal as it was. When the key cannot be opened or the value read,
  // KeyVal becomes empty and the result is false.
  bool GetKeyValue(std::uint32_t KeyRoot, const std::string& KeyName, const std::string& SubKeyRef,
                   std::string& KeyVal);

  // Finds the system-information program through the registry and starts
  // it; when it cannot be found or started, says "此时系统信息不可用".
  void StartSysInfo();

 private:
  SystemAccess access_;
  QLabel* picIcon_ = nullptr;
  QLabel* lblTitle_ = nullptr;
  QLabel* lblVersion_ = nullptr;
  QLabel* lblDescription_ = nullptr;
  QLabel* lblDisclaimer_ = nullptr;
  QFrame* line1Grey_ = nullptr;
  QFrame* line1White_ = nullptr;
  QPushButton* cmdOK_ = nullptr;
  QPushButton* cmdSysInfo_ = nullptr;
};

// The description's six lines, separated by CR LF.
extern const char* const kAboutDescription;
// The warning line under the separator.
extern const char* const kAboutDisclaimer;
extern const char* const kSysInfoUnavailableMessage;

// Opens the About box modally over `parent` (through the platform layer).
void showAboutBox(QWidget* parent);

}  // namespace orcalc::ui
