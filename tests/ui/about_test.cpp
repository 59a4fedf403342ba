// The About box: its layout and keys, and the system-information lookup run
// against a fake registry, file test and program starter.
#include "about/about_box.h"
#include "support/window_helpers.h"

using namespace orcalc::ui;
using namespace orcalc::ui::testing;

namespace {

const std::string kTools = "SOFTWARE\\Microsoft\\Shared Tools";

// Registry, file test and program starter in one. Keys open only under the
// lookup's root and with its access mask, the one file present is
// D:\MSINFO32.EXE, and "gone" programs do not start. It notes the keys
// opened, how many are open, and the programs started.
struct Fakes final : Registry, FileSystem, ProgramStarter {
  std::map<std::string, std::map<std::string, std::pair<std::uint32_t, std::string>>> keys;
  std::vector<std::string> opened, started;
  int open = 0;

  bool openKey(std::uint32_t root, const std::string& name, std::uint32_t mask, Key& key) override {
    opened.push_back(name), key = opened.size();
    return root == 0x80000002u && mask == 0x2003Fu && keys.count(name) && ++open;
  }
  bool queryValue(Key key, const std::string& name, std::uint32_t& type, char* data,
                  std::uint32_t& size) override {
    const auto& [stored, bytes] = keys[opened.at(key - 1)][name];  // type 0: no such value
    type = stored, size = bytes.copy(data, size);
    return stored != 0;
  }
  void closeKey(Key) override { --open; }
  bool fileExists(const std::string& path) override { return path == "D:\\MSINFO32.EXE"; }
  bool start(const std::string& path) override {
    started.push_back(path);
    return path.find("gone") == std::string::npos;
  }
};

}  // namespace

class AboutTest : public QObject {
  Q_OBJECT

 private slots:
  void lookupTextsAndKeys() {
    Fakes fakes;
    frmAbout box;
    box.setSystemAccess({&fakes, &fakes, &fakes});
    // A number value reads as hexadecimal and another type leaves the text
    // alone; a failed read leaves it empty and closes the key.
    fakes.keys["K"] = {{"dword", {4, std::string("\x78\x56\x34\x12", 4)}}, {"binary", {3, "xyz"}}};
    std::string dword, binary = "old", missing = "old";
    QVERIFY(box.GetKeyValue(kHKeyLocalMachine, "K", "dword", dword) &&
            box.GetKeyValue(kHKeyLocalMachine, "K", "binary", binary) &&
            !box.GetKeyValue(kHKeyLocalMachine, "K", "none", missing) && fakes.open == 0);
    QCOMPARE(dword + "|" + binary + "|" + missing, std::string("&h12345678|old|"));
    // Per case: the first location's path (stored with its NUL), the second
    // location's folder (without), and the program started; none started
    // means the message.
    const char* const cases[][3] = {{"C:\\i.exe", "D:", "C:\\i.exe"},
                                    {nullptr, "D:", "D:\\MSINFO32.EXE"},
                                    {nullptr, "E:", nullptr},
                                    {nullptr, nullptr, nullptr},
                                    {"C:\\gone.exe", nullptr, nullptr}};
    for (const auto& [path, folder, started] : cases) {
      RecordingPlatform platform;
      fakes = Fakes();
      if (path) fakes.keys[kTools + "\\MSINFO"]["PATH"] = {1, std::string(path) + '\0'};
      if (folder) fakes.keys[kTools + " Location"]["MSINFO"] = {1, folder};
      box.StartSysInfo();
      QCOMPARE(platform.messages, started ? QStringList() : QStringList{"此时系统信息不可用"});
      if (started) QCOMPARE(fakes.started, std::vector<std::string>{started});
      // The second location read only when needed, and every key opened closed.
      QCOMPARE(QPoint(int(fakes.opened.size()), fakes.open), QPoint(path ? 1 : 2, 0));
    }

    // The box keeps its designed size and texts.
    RecordingPlatform platform;
    QCOMPARE(QList<QSize>({box.size(), box.minimumSize(), box.maximumSize()}),
             QList<QSize>(3, twipsRect(0, 0, 6135, 4305, &box).size()));
    QStringList texts{box.windowTitle()};
    for (const char* name : {"lblTitle", "lblVersion", "cmdOK", "cmdSysInfo"}) {
      auto* widget = box.findChild<QWidget*>(name);
      texts << (widget ? widget->property("text").toString() : QString("missing"));
    }
    QCOMPARE(texts, QStringList({"运筹学计算程序", "运筹学计算程序", "版本：１.０", "确定",
                                 "系统信息(&S)..."}));
    // The warning states the licence (any use, no warranty) and fits its
    // label.
    auto* disclaimer = box.findChild<QLabel*>("lblDisclaimer");
    QVERIFY(disclaimer->text().startsWith("警告: 本程序是自由软件") &&
            disclaimer->text().contains("GNU 通用公共许可证第 3 版或更高版本") &&
            disclaimer->text().contains("不提供任何担保") && !disclaimer->text().contains("仅供"));
    QVERIFY(QFontMetrics(disclaimer->font())
                .boundingRect(QRect(0, 0, disclaimer->width(), 10000), Qt::TextWordWrap,
                              disclaimer->text())
                .height() <= disclaimer->height());
    // OK has the focus at first.
    QWidget* icon = box.findChild<QWidget*>("picIcon");
    showActive(&box);
    QCOMPARE(QApplication::focusWidget(), box.findChild<QWidget*>("cmdOK"));
    // Escape and Enter close the box, also from the icon; Alt+S runs the
    // lookup (the last fakes above: nothing starts) and the box stays.
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
      icon->setFocus();
      QTest::keyClick(icon, key);
      QVERIFY(!box.isVisible());
      showActive(&box);
    }
    QTest::keyClick(box.windowHandle(), Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(platform.messages, QStringList{"此时系统信息不可用"});
    QVERIFY(box.isVisible());
  }
};

QTEST_MAIN(AboutTest)
#include "about_test.moc"
