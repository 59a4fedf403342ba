// Finding the system-information tool through the registry, as Windows
// records it. Registry, file test and program start are small interfaces so
// the lookup runs against fakes in the tests. Built on Windows only.
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

// Reads value `value_name` of key `key_name` under `root` into `value`: a
// string value as its text, a 32-bit number as "&h" and two hexadecimal
// digits a byte, most significant first. Other types leave `value` as it
// was. When the key cannot be opened or the value read, `value` becomes
// empty and the result is false. The key is closed on every way out.
bool readRegistryValue(Registry& registry, std::uint32_t root, const std::string& key_name,
                       const std::string& value_name, std::string& value);

// The full path of the system-information program: the path the registry
// records for it, else the program in the folder recorded for it when the
// file is there; empty when neither is found.
std::string findSystemInfoProgram(Registry& registry, FileSystem& files);

}  // namespace orcalc::ui
