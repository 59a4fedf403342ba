#include "about/system_info.h"

#ifndef _WIN32

namespace orcalc::ui {
namespace {

// No system-information tool here.
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

#endif
