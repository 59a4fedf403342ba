// The About box: its layout and keys, and the system-information lookup run
// against a fake registry, file test and program starter.
#include <QApplication>
#include <QFontInfo>
#include <QLabel>
#include <QMainWindow>
#include <QPushButton>
#include <QtTest>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "about/about_box.h"
#include "about/app_icon.h"
#include "sheet/twips.h"
#include "support/recording_platform.h"

using namespace orcalc::ui;

namespace {

struct FakeValue {
  std::uint32_t type;
  std::string bytes;  // what the value holds, NULs included
};

class FakeRegistry final : public Registry {
 public:
  std::map<std::string, std::map<std::string, FakeValue>> keys;
  bool failReads = false;
  bool throwOnRead = false;
  std::uint32_t sizeOverride = 0;  // a size claimed beyond the data, if set

  std::vector<std::string> opened;
  std::vector<std::uint32_t> masks;
  std::vector<std::uint32_t> roots;
  int openCount = 0;
  int closeCount = 0;

  bool openKey(std::uint32_t root, const std::string& name, std::uint32_t access,
               Key& key) override {
    opened.push_back(name);
    roots.push_back(root);
    masks.push_back(access);
    auto it = keys.find(name);
    if (it == keys.end()) return false;
    ++openCount;
    names_.push_back(name);
    key = names_.size();
    return true;
  }

  bool queryValue(Key key, const std::string& name, std::uint32_t& type, char* data,
                  std::uint32_t& size) override {
    if (failReads) return false;
    if (throwOnRead) throw std::runtime_error("registry error");
    const auto& values = keys.at(names_.at(key - 1));
    auto it = values.find(name);
    if (it == values.end() || it->second.bytes.size() > size) return false;
    std::copy(it->second.bytes.begin(), it->second.bytes.end(), data);
    type = it->second.type;
    size = sizeOverride ? sizeOverride : static_cast<std::uint32_t>(it->second.bytes.size());
    return true;
  }

  void closeKey(Key) override { ++closeCount; }

 private:
  std::vector<std::string> names_;
};

class FakeFiles final : public FileSystem {
 public:
  std::vector<std::string> present;
  std::vector<std::string> asked;
  bool fileExists(const std::string& path) override {
    asked.push_back(path);
    return std::find(present.begin(), present.end(), path) != present.end();
  }
};

class FakeStarter final : public ProgramStarter {
 public:
  bool succeed = true;
  std::vector<std::string> started;
  bool start(const std::string& path) override {
    started.push_back(path);
    return succeed;
  }
};

const std::string kInfoKey = "SOFTWARE\\Microsoft\\Shared Tools\\MSINFO";
const std::string kLocationKey = "SOFTWARE\\Microsoft\\Shared Tools Location";
const QString kUnavailable = QStringLiteral("此时系统信息不可用");

struct Fakes {
  FakeRegistry registry;
  FakeFiles files;
  FakeStarter programs;
  SystemAccess access() { return {&registry, &files, &programs}; }
};

}  // namespace

class AboutTest : public QObject {
  Q_OBJECT

 private slots:
  void getKeyValueReadsStringsWithOrWithoutTheirTerminator() {
    Fakes fakes;
    fakes.registry.keys["K"]["with"] = {1, std::string("C:\\Tools\\info.exe\0", 18)};
    fakes.registry.keys["K"]["without"] = {1, "C:\\Tools\\info.exe"};
    fakes.registry.keys["K"]["empty"] = {1, std::string("\0", 1)};
    frmAbout box;
    box.setSystemAccess(fakes.access());

    std::string with, without, empty = "old";
    QVERIFY(box.GetKeyValue(kHKeyLocalMachine, "K", "with", with));
    QVERIFY(box.GetKeyValue(kHKeyLocalMachine, "K", "without", without));
    QVERIFY(box.GetKeyValue(kHKeyLocalMachine, "K", "empty", empty));
    QCOMPARE(with, std::string("C:\\Tools\\info.exe"));
    QCOMPARE(without, with);
    QCOMPARE(empty, std::string());
    // Opened with the asked access under the asked root, and closed after
    // every read.
    for (auto mask : fakes.registry.masks) QCOMPARE(mask, 0x2003Fu);
    for (auto root : fakes.registry.roots) QCOMPARE(root, 0x80000002u);
    QCOMPARE(fakes.registry.closeCount, fakes.registry.openCount);
  }

  void getKeyValueWritesNumbersAsHexAndLeavesOtherTypesAlone() {
    Fakes fakes;
    fakes.registry.keys["K"]["dword"] = {4, std::string("\x78\x56\x34\x12", 4)};
    fakes.registry.keys["K"]["small"] = {4, std::string("\x2A\0\0\0", 4)};
    fakes.registry.keys["K"]["binary"] = {3, "xyz"};
    frmAbout box;
    box.setSystemAccess(fakes.access());

    std::string dword, small, binary = "kept";
    QVERIFY(box.GetKeyValue(kHKeyLocalMachine, "K", "dword", dword));
    QCOMPARE(dword, std::string("&h12345678"));
    // The trailing NUL byte is trimmed like a string terminator; the value
    // stays the same number.
    QVERIFY(box.GetKeyValue(kHKeyLocalMachine, "K", "small", small));
    QCOMPARE(small, std::string("&h00002A"));
    QVERIFY(box.GetKeyValue(kHKeyLocalMachine, "K", "binary", binary));
    QCOMPARE(binary, std::string("kept"));
    QCOMPARE(fakes.registry.closeCount, 3);
  }

  void getKeyValueFailuresGiveFalseAndEmptyText() {
    Fakes fakes;
    fakes.registry.keys["K"]["v"] = {1, "text"};
    frmAbout box;
    box.setSystemAccess(fakes.access());

    std::string missingKey = "old";
    QVERIFY(!box.GetKeyValue(kHKeyLocalMachine, "nope", "v", missingKey));
    QCOMPARE(missingKey, std::string());
    QCOMPARE(fakes.registry.closeCount, 0);  // nothing was opened

    std::string missingValue = "old";
    QVERIFY(!box.GetKeyValue(kHKeyLocalMachine, "K", "other", missingValue));
    QCOMPARE(missingValue, std::string());
    QCOMPARE(fakes.registry.closeCount, 1);  // the open key is closed

    fakes.registry.failReads = true;
    std::string failedRead = "old";
    QVERIFY(!box.GetKeyValue(kHKeyLocalMachine, "K", "v", failedRead));
    QCOMPARE(failedRead, std::string());
    QCOMPARE(fakes.registry.closeCount, 2);
  }

  void getKeyValueNeverTakesMoreThanTheBuffer() {
    Fakes fakes;
    fakes.registry.keys["K"]["v"] = {1, "abc"};
    fakes.registry.sizeOverride = 5000;
    frmAbout box;
    box.setSystemAccess(fakes.access());
    std::string value;
    QVERIFY(box.GetKeyValue(kHKeyLocalMachine, "K", "v", value));
    QCOMPARE(value.size(), std::size_t(1023));  // 1024 bytes, the last NUL dropped
    QCOMPARE(value.substr(0, 4), std::string("abc\0", 4));
  }

  void startSysInfoUsesTheFirstLocationWithoutReadingTheSecond() {
    testing::RecordingPlatform platform;
    Fakes fakes;
    fakes.registry.keys[kInfoKey]["PATH"] = {1, std::string("C:\\Info\\msinfo32.exe\0", 21)};
    fakes.registry.keys[kLocationKey]["MSINFO"] = {1, "D:\\Other"};
    frmAbout box;
    box.setSystemAccess(fakes.access());
    box.StartSysInfo();

    QCOMPARE(fakes.programs.started, std::vector<std::string>{"C:\\Info\\msinfo32.exe"});
    QCOMPARE(fakes.registry.opened, std::vector<std::string>{kInfoKey});
    QVERIFY(fakes.files.asked.empty());
    QVERIFY(platform.messages.isEmpty());
  }

  void startSysInfoFindsTheProgramInTheSecondLocationsFolder() {
    testing::RecordingPlatform platform;
    Fakes fakes;
    fakes.registry.keys[kInfoKey] = {};  // the key without its value
    fakes.registry.keys[kLocationKey]["MSINFO"] = {1, "C:\\Shared\\MSInfo"};
    fakes.files.present = {"C:\\Shared\\MSInfo\\MSINFO32.EXE"};
    frmAbout box;
    box.setSystemAccess(fakes.access());
    box.StartSysInfo();

    QCOMPARE(fakes.programs.started, std::vector<std::string>{"C:\\Shared\\MSInfo\\MSINFO32.EXE"});
    QVERIFY(platform.messages.isEmpty());

    // Without the file in the folder: the message, and nothing started.
    fakes.files.present.clear();
    fakes.programs.started.clear();
    box.StartSysInfo();
    QVERIFY(fakes.programs.started.empty());
    QCOMPARE(platform.messages, QStringList{kUnavailable});
  }

  void startSysInfoFailuresShowTheMessage() {
    testing::RecordingPlatform platform;
    {  // Neither location.
      Fakes fakes;
      frmAbout box;
      box.setSystemAccess(fakes.access());
      box.StartSysInfo();
      QCOMPARE(fakes.registry.opened, (std::vector<std::string>{kInfoKey, kLocationKey}));
      QVERIFY(fakes.programs.started.empty());
    }
    {  // The program does not start.
      Fakes fakes;
      fakes.registry.keys[kInfoKey]["PATH"] = {1, "C:\\gone.exe"};
      fakes.programs.succeed = false;
      frmAbout box;
      box.setSystemAccess(fakes.access());
      box.StartSysInfo();
    }
    {  // The registry raises an error: the key is still closed.
      Fakes fakes;
      fakes.registry.keys[kInfoKey]["PATH"] = {1, "C:\\info.exe"};
      fakes.registry.throwOnRead = true;
      frmAbout box;
      box.setSystemAccess(fakes.access());
      box.StartSysInfo();
      QCOMPARE(fakes.registry.openCount, 1);
      QCOMPARE(fakes.registry.closeCount, 1);
    }
    {  // A value of another type leaves no path to start.
      Fakes fakes;
      fakes.registry.keys[kInfoKey]["PATH"] = {3, "binary"};
      frmAbout box;
      box.setSystemAccess(fakes.access());
      box.StartSysInfo();
      QVERIFY(fakes.programs.started.empty());
    }
    QCOMPARE(platform.messages, QStringList(4, kUnavailable));
  }

#ifndef _WIN32
  void lookupWithoutARegistryFailsCleanly() {
    testing::RecordingPlatform platform;
    frmAbout box;  // the machine's own system access
    std::string value = "old";
    QVERIFY(!box.GetKeyValue(kHKeyLocalMachine, kInfoKey, "PATH", value));
    QCOMPARE(value, std::string());
    box.StartSysInfo();
    QCOMPARE(platform.messages, QStringList{kUnavailable});
  }
#endif

  void layoutFollowsTheDesign() {
    frmAbout box;
    QCOMPARE(box.windowTitle(), QStringLiteral("运筹学计算程序"));
    QVERIFY(!(box.windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(box.windowFlags() & Qt::WindowMaximizeButtonHint));
    QCOMPARE(box.minimumSize(), box.maximumSize());
    QCOMPARE(box.size(), twipsRect(0, 0, 6135, 4305, &box).size());

    const struct {
      const char* name;
      int left, top, width, height;
    } controls[] = {
        {"picIcon", 240, 240, 540, 540},      {"lblTitle", 1080, 240, 3885, 480},
        {"lblVersion", 1050, 780, 3885, 225}, {"lblDescription", 1080, 1245, 4485, 1770},
        {"lblDisclaimer", 360, 3360, 3630, 825}, {"cmdOK", 4440, 3480, 1500, 345},
        {"cmdSysInfo", 4440, 3840, 1485, 345},
    };
    for (const auto& c : controls) {
      auto* widget = box.findChild<QWidget*>(QString::fromLatin1(c.name));
      QVERIFY2(widget, c.name);
      QCOMPARE(widget->geometry(), twipsRect(c.left, c.top, c.width, c.height, &box));
    }

    auto* title = box.findChild<QLabel*>("lblTitle");
    QCOMPARE(title->text(), QStringLiteral("运筹学计算程序"));
    QVERIFY(title->font().bold());
    QCOMPARE(title->font().pointSizeF(), 14.25);
    QCOMPARE(title->font().families().first(), QStringLiteral("楷体_GB2312"));
    QCOMPARE(box.findChild<QLabel*>("lblVersion")->text(), QStringLiteral("版本：１.０"));
    QVERIFY(!box.findChild<QLabel*>("picIcon")->pixmap().isNull());
    QVERIFY(box.findChild<QLabel*>("lblDisclaimer")->text().startsWith(QStringLiteral("警告: ")));

    const QStringList lines = QString::fromUtf8(kAboutDescription).split(QStringLiteral("\r\n"));
    QCOMPARE(lines.size(), 6);
    QCOMPARE(lines[0], QStringLiteral("程序描述:"));
    for (int i = 1; i < 6; ++i) QVERIFY(lines[i].startsWith(QStringLiteral("    ")));
    QCOMPARE(lines[2], QStringLiteral("    联系人：orcalc 开发组"));

    // The wrapped texts fit their labels, last line included, whatever face
    // stands in for the design face.
    for (const char* name : {"lblDescription", "lblDisclaimer"}) {
      auto* label = box.findChild<QLabel*>(name);
      const QRect needed = QFontMetrics(label->font())
                               .boundingRect(QRect(0, 0, label->width(), 100000),
                                             Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
                                             label->text());
      QVERIFY2(needed.height() <= label->height(), name);
    }

    // The separator: two lines at the same height, grey over white.
    const auto lines1 = box.findChildren<QWidget*>("Line1");
    QCOMPARE(lines1.size(), 2);
    for (auto* line : lines1) QCOMPARE(line->y(), twipsToPixelsY(3120, &box));

    auto* ok = box.findChild<QPushButton*>("cmdOK");
    auto* info = box.findChild<QPushButton*>("cmdSysInfo");
    QCOMPARE(ok->text(), QStringLiteral("确定"));
    QCOMPARE(info->text(), QStringLiteral("系统信息(&S)..."));
    QVERIFY(ok->isDefault());
    QVERIFY(!applicationIcon().isNull());
  }

  void tabOrderStartsOnOk() {
    frmAbout box;
    box.show();
    QVERIFY(QTest::qWaitForWindowExposed(&box));
    auto* ok = box.findChild<QWidget*>("cmdOK");
    QCOMPARE(box.focusWidget(), ok);
    QCOMPARE(ok->nextInFocusChain(), box.findChild<QWidget*>("picIcon"));
    QCOMPARE(ok->nextInFocusChain()->nextInFocusChain(), box.findChild<QWidget*>("cmdSysInfo"));
  }

  void escapeAndEnterCloseTheBox() {
    for (const char* focus : {"cmdOK", "picIcon"}) {
      for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        testing::RecordingPlatform platform;
        Fakes fakes;
        frmAbout box;
        box.setSystemAccess(fakes.access());
        box.show();
        QVERIFY(QTest::qWaitForWindowExposed(&box));
        auto* target = box.findChild<QWidget*>(focus);
        target->setFocus();
        QTest::keyClick(target, key);
        QVERIFY2(!box.isVisible(), focus);
        QVERIFY(fakes.registry.opened.empty());
      }
    }
  }

  void enterOnTheInfoButtonAndAltSRunTheLookup() {
    testing::RecordingPlatform platform;
    Fakes fakes;
    frmAbout box;
    box.setSystemAccess(fakes.access());
    box.show();
    QApplication::setActiveWindow(&box);
    QVERIFY(QTest::qWaitForWindowActive(&box));

    auto* info = box.findChild<QWidget*>("cmdSysInfo");
    info->setFocus();
    QTest::keyClick(info, Qt::Key_Return);
    QVERIFY(box.isVisible());
    QCOMPARE(platform.messages, QStringList{kUnavailable});

    auto* ok = box.findChild<QWidget*>("cmdOK");
    ok->setFocus();
    // Through the window, as the system delivers it, so shortcuts apply.
    QTest::keyClick(box.windowHandle(), Qt::Key_S, Qt::AltModifier);
    // An access key presses the button visibly: the click comes a moment later.
    QTRY_COMPARE(platform.messages, QStringList(2, kUnavailable));
    QVERIFY(box.isVisible());
    QCOMPARE(fakes.registry.opened.size(), std::size_t(4));
  }

  void showAboutBoxIsModalOverItsWindow() {
    testing::RecordingPlatform platform;
    QMainWindow sheetWindow;
    sheetWindow.show();
    QDialog* seen = nullptr;
    bool modal = false;
    platform.onModal = [&](QDialog* dialog) {
      seen = dialog;
      modal = dialog->isModal() && dialog->isVisible();
      QCOMPARE(dialog->parentWidget(), &sheetWindow);
      QVERIFY(qobject_cast<frmAbout*>(dialog));
      QTest::keyClick(dialog, Qt::Key_Escape);
      QVERIFY(!dialog->isVisible());
    };
    showAboutBox(&sheetWindow);
    QCOMPARE(platform.modalCount, 1);
    QVERIFY(seen);
    QVERIFY(modal);
    // The box is gone once it has closed.
    QVERIFY(sheetWindow.findChildren<frmAbout*>().isEmpty());
  }
};

QTEST_MAIN(AboutTest)
#include "about_test.moc"
