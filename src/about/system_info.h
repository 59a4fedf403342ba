// What the About box needs from the system to find and start the
// system-information tool: two registry values, a file test and starting a
// program. Each is a small interface so the lookup can run against fakes.
#pragma once

#include <cstdint>
#include <string>

namespace orcalc::ui {

// The registry root of the lookups, as its 32-bit handle value.
inline constexpr std::uint32_t kHKeyLocalMachine = 0x80000002u;
// Query value, set value, create sub-key, enumerate sub-keys, notify,
// create link and read control.
inline constexpr std::uint32_t kKeyAccessMask = 0x2003Fu;
inline constexpr std::uint32_t kRegistryString = 1;  // REG_SZ
inline constexpr std::uint32_t kRegistryDword = 4;   // REG_DWORD
// The buffer a value is read into, in characters (bytes in the ANSI form).
inline constexpr std::uint32_t kValueBufferSize = 1024;

class Registry {
 public:
  using Key = std::uintptr_t;
  virtual ~Registry() = default;
  // Opens `name` under `root` with `access`; false when it cannot be opened.
  virtual bool openKey(std::uint32_t root, const std::string& name, std::uint32_t access,
                       Key& key) = 0;
  // Reads value `name` (ANSI form) into `data`, which holds `size` bytes;
  // on success `type` and `size` say what was returned.
  virtual bool queryValue(Key key, const std::string& name, std::uint32_t& type, char* data,
                          std::uint32_t& size) = 0;
  virtual void closeKey(Key key) = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  virtual bool fileExists(const std::string& path) = 0;
};

class ProgramStarter {
 public:
  virtual ~ProgramStarter() = default;
  // Starts the program at `path` in a normal window that gets the focus,
  // without waiting for it; false when it could not be started.
  virtual bool start(const std::string& path) = 0;
};

struct SystemAccess {
  Registry* registry;
  FileSystem* files;
  ProgramStarter* programs;
};

// The machine's own: the registry on Windows; elsewhere a registry in which
// every key is missing, so the lookup always fails.
SystemAccess systemAccess();

}  // namespace orcalc::ui
