// Finding the system-information tool through a fake registry and file test.
#include "about/registry_lookup.h"

#include <QTest>
#include <map>
#include <utility>
#include <vector>

using namespace orcalc::ui;

namespace {

const std::string kTools = "SOFTWARE\\Microsoft\\Shared Tools";

// Keys open only under the lookup's root and with its access mask; the one
// file present is D:\MSINFO32.EXE. It notes the keys opened and how many
// are open.
struct FakeSystem final : Registry, FileSystem {
  std::map<std::string, std::map<std::string, std::pair<std::uint32_t, std::string>>> keys;
  std::vector<std::string> opened;
  int open = 0;

  bool openKey(std::uint32_t root, const std::string& name, std::uint32_t mask, Key& key) override {
    opened.push_back(name);
    key = opened.size();
    if (root != kHKeyLocalMachine || mask != kKeyAccessMask || !keys.count(name)) return false;
    ++open;
    return true;
  }
  bool queryValue(Key key, const std::string& name, std::uint32_t& type, char* data,
                  std::uint32_t& size) override {
    const auto& [stored, bytes] = keys[opened.at(key - 1)][name];  // type 0: no such value
    type = stored;
    size = static_cast<std::uint32_t>(bytes.copy(data, size));
    return stored != 0;
  }
  void closeKey(Key) override { --open; }
  bool fileExists(const std::string& path) override { return path == "D:\\MSINFO32.EXE"; }
};

}  // namespace

class RegistryLookupTest : public QObject {
  Q_OBJECT

 private slots:
  void valueTexts_data() {
    QTest::addColumn<QString>("value");
    QTest::addColumn<bool>("read");
    QTest::addColumn<QString>("text");
    QTest::newRow("number as hexadecimal") << "dword" << true << "&h12345678";
    QTest::newRow("other type keeps the text") << "binary" << true << "old";
    QTest::newRow("missing value empties it") << "none" << false << "";
  }
  void valueTexts() {
    QFETCH(QString, value);
    QFETCH(bool, read);
    QFETCH(QString, text);
    FakeSystem system;
    system.keys["K"] = {{"dword", {kRegistryDword, std::string("\x78\x56\x34\x12", 4)}},
                        {"binary", {3, "xyz"}}};
    std::string got = "old";
    QCOMPARE(readRegistryValue(system, kHKeyLocalMachine, "K", value.toStdString(), got), read);
    QCOMPARE(QString::fromStdString(got), text);
    QCOMPARE(system.open, 0);  // closed on every way out
  }

  void programFound_data() {
    QTest::addColumn<QString>("path");    // the first location (stored with its NUL)
    QTest::addColumn<QString>("folder");  // the second location
    QTest::addColumn<QString>("program");
    QTest::addColumn<int>("keysOpened");
    QTest::newRow("recorded path") << "C:\\i.exe"
                                   << "D:"
                                   << "C:\\i.exe" << 1;
    QTest::newRow("recorded folder") << ""
                                     << "D:"
                                     << "D:\\MSINFO32.EXE" << 2;
    QTest::newRow("folder without the program") << ""
                                                << "E:"
                                                << "" << 2;
    QTest::newRow("nothing recorded") << ""
                                      << ""
                                      << "" << 2;
  }
  void programFound() {
    QFETCH(QString, path);
    QFETCH(QString, folder);
    QFETCH(QString, program);
    QFETCH(int, keysOpened);
    FakeSystem system;
    if (!path.isEmpty())
      system.keys[kTools + "\\MSINFO"]["PATH"] = {kRegistryString, path.toStdString() + '\0'};
    if (!folder.isEmpty())
      system.keys[kTools + " Location"]["MSINFO"] = {kRegistryString, folder.toStdString()};
    QCOMPARE(QString::fromStdString(findSystemInfoProgram(system, system)), program);
    QCOMPARE(static_cast<int>(system.opened.size()), keysOpened);
    QCOMPARE(system.open, 0);
  }
};

QTEST_GUILESS_MAIN(RegistryLookupTest)
#include "registry_lookup_test.moc"
