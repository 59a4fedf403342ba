#include <windows.h>

#include <QFileInfo>
#include <QProcess>
#include <QString>

#include "about/registry_lookup.h"
#include "about/system_info.h"

namespace orcalc::ui {
namespace {

// Paths from the registry are in the system's ANSI code page.
QString fromSystemText(const std::string& text) {
  return QString::fromLocal8Bit(text.data(), static_cast<qsizetype>(text.size()));
}

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

class LocalFileSystem final : public FileSystem {
 public:
  bool fileExists(const std::string& path) override {
    const QFileInfo info(fromSystemText(path));
    return info.exists() && info.isFile();
  }
};

class RegistrySystemInfo final : public SystemInfoLauncher {
 public:
  bool launch() override {
    const std::string path = findSystemInfoProgram(registry_, files_);
    return !path.empty() && QProcess::startDetached(fromSystemText(path), {});
  }

 private:
  WindowsRegistry registry_;
  LocalFileSystem files_;
};

}  // namespace

SystemInfoLauncher& systemInfoLauncher() {
  static RegistrySystemInfo launcher;
  return launcher;
}

}  // namespace orcalc::ui
