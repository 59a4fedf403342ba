// The system-information tool the About box offers. No build has one: the
// About box says it is missing (its tests give it a fake).
#pragma once

namespace orcalc::ui {

class SystemInfoLauncher {
 public:
  virtual ~SystemInfoLauncher() = default;
  // Finds the tool and starts it without waiting for it; false when it
  // cannot be found or started.
  virtual bool launch() = 0;
};

// The machine's own.
SystemInfoLauncher& systemInfoLauncher();

}  // namespace orcalc::ui
