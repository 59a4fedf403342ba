#include "about/system_info.h"

#include <QFileInfo>
#include <QProcess>
#include <QString>

#ifdef _WIN32
#include <windows.h>
#endif

namespace orcalc::ui {
namespace {

// Paths from the registry are in the system's ANSI code page.
QString fromSystemText(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

#ifdef _WIN32

class WindowsRegistry final : public Registry {
 public:
  bool openKey(std::uint32_t root, const std::string& name, std::uint32_t access,
               Key& key) override {
    // Root handle values are sign-extended, as the predefined roots are.
    const HKEY rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
    HKEY opened = nullptr;
    if (RegOpenKeyExA(rootKey, name.c_str(), 0, static_cast<REGSAM>(access), &opened) !=
        ERROR_SUCCESS) {
      return false;
    }
    key = reinterpret_cast<Key>(opened);
    return true;
  }

  bool queryValue(Key key, const std::string& name, std::uint32_t& type, char* data,
                  std::uint32_t& size) override {
    DWORD valueType = 0;
    DWORD valueSize = size;
    const LONG result = RegQueryValueExA(reinterpret_cast<HKEY>(key), name.c_str(), nullptr,
                                         &valueType, reinterpret_cast<BYTE*>(data), &valueSize);
    if (result != ERROR_SUCCESS) return false;
    type = valueType;
    size = valueSize;
    return true;
  }

  void closeKey(Key key) override { RegCloseKey(reinterpret_cast<HKEY>(key)); }
};

#else

// No registry here: every key is missing.
class MissingRegistry final : public Registry {
 public:
  bool openKey(std::uint32_t, const std::string&, std::uint32_t, Key&) override { return false; }
  bool queryValue(Key, const std::string&, std::uint32_t&, char*, std::uint32_t&) override {
    return false;
  }
  void closeKey(Key) override {}
};

#endif

class LocalFileSystem final : public FileSystem {
 public:
  bool fileExists(const std::string& path) override {
    const QFileInfo info(fromSystemText(path));
    return info.exists() && info.isFile();
  }
};

class DetachedStarter final : public ProgramStarter {
 public:
  bool start(const std::string& path) override {
    if (path.empty()) return false;
    return QProcess::startDetached(fromSystemText(path), {});
  }
};

}  // namespace

SystemAccess systemAccess() {
#ifdef _WIN32
  static WindowsRegistry registry;
#else
  static MissingRegistry registry;
#endif
  static LocalFileSystem files;
  static DetachedStarter programs;
  return {&registry, &files, &programs};
}

}  // namespace orcalc::ui
