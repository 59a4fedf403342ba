// The system-information tool the About box offers: found and started where
// the system has one (Windows), missing elsewhere.
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
