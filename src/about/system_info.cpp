#include "about/system_info.h"

namespace orcalc::ui {
namespace {

// No system-information tool is built in: the About box says so.
class MissingSystemInfo final : public SystemInfoLauncher {
 public:
  bool launch() override { return false; }
};

}  // namespace

SystemInfoLauncher& systemInfoLauncher() {
  static MissingSystemInfo launcher;
  return launcher;
}

}  // namespace orcalc::ui
