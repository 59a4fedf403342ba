#include "about/registry_lookup.h"

#include <algorithm>
#include <vector>

namespace orcalc::ui {
namespace {

constexpr const char* kSysInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
constexpr const char* kSysInfoValue = "PATH";
constexpr const char* kSysInfoLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
constexpr const char* kSysInfoLocationValue = "MSINFO";
constexpr const char* kSysInfoProgram = "\\MSINFO32.EXE";

// A 32-bit number value as "&h" and two hexadecimal digits a byte, the
// last byte (the most significant) first.
std::string dwordText(const std::string& bytes) {
  static const char digits[] = "0123456789ABCDEF";
  std::string text = "&h";
  for (auto it = bytes.rbegin(); it != bytes.rend(); ++it) {
    const auto byte = static_cast<unsigned char>(*it);
    text += digits[byte >> 4];
    text += digits[byte & 0x0F];
  }
  return text;
}

}  // namespace

bool readRegistryValue(Registry& registry, std::uint32_t root, const std::string& key_name,
                       const std::string& value_name, std::string& value) {
  Registry::Key key = 0;
  if (!registry.openKey(root, key_name, kKeyAccessMask, key)) {
    value.clear();
    return false;
  }
  // The key is closed on every way out, a read that raises an error included.
  struct Closer {
    Registry& registry;
    Registry::Key key;
    ~Closer() { registry.closeKey(key); }
  } closer{registry, key};

  std::vector<char> buffer(kValueBufferSize, '\0');
  std::uint32_t size = kValueBufferSize;
  std::uint32_t type = 0;
  if (!registry.queryValue(key, value_name, type, buffer.data(), size)) {
    value.clear();
    return false;
  }

  // Never take more than the buffer holds, whatever size comes back.
  std::string read(buffer.data(), std::min(size, kValueBufferSize));
  if (!read.empty() && read.back() == '\0') read.pop_back();

  if (type == kRegistryString) {
    value = read;
  } else if (type == kRegistryDword) {
    value = dwordText(read);
  }
  return true;
}

std::string findSystemInfoProgram(Registry& registry, FileSystem& files) {
  std::string path;
  if (readRegistryValue(registry, kHKeyLocalMachine, kSysInfoKey, kSysInfoValue, path)) {
    return path;  // the program's full path
  }
  if (readRegistryValue(registry, kHKeyLocalMachine, kSysInfoLocationKey, kSysInfoLocationValue,
                        path)) {
    // A folder: the program must be in it.
    path += kSysInfoProgram;
    if (files.fileExists(path)) return path;
  }
  return {};
}

}  // namespace orcalc::ui
