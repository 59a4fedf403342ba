// The About box: its layout, its keys and the system-information button.
#include "about/about_box.h"
#include "support/window_helpers.h"

using namespace orcalc::ui;
using namespace orcalc::ui::testing;

namespace {

enum class Launch { Starts, Fails, Throws };

struct FakeLauncher final : SystemInfoLauncher {
  Launch outcome = Launch::Starts;
  int launches = 0;
  bool launch() override {
    ++launches;
    if (outcome == Launch::Throws) throw std::runtime_error("no registry");
    return outcome == Launch::Starts;
  }
};

}  // namespace

Q_DECLARE_METATYPE(Launch)

class AboutTest : public QObject {
  Q_OBJECT

 private slots:
  void layout() {
    AboutBox box;
    QCOMPARE(QList<QSize>({box.size(), box.minimumSize(), box.maximumSize()}),
             QList<QSize>(3, twipsRect(0, 0, 6135, 4305, &box).size()));
    // The licence warning fits its label.
    auto* disclaimer = box.findChild<QLabel*>("lblDisclaimer");
    QVERIFY(QFontMetrics(disclaimer->font())
                .boundingRect(QRect(0, 0, disclaimer->width(), 10000), Qt::TextWordWrap,
                              disclaimer->text())
                .height() <= disclaimer->height());
  }

  void systemInfo_data() {
    QTest::addColumn<Launch>("outcome");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("started") << Launch::Starts << QStringList();
    QTest::newRow("not found") << Launch::Fails << QStringList{"此时系统信息不可用"};
    QTest::newRow("error on the way") << Launch::Throws << QStringList{"此时系统信息不可用"};
  }
  void systemInfo() {
    QFETCH(Launch, outcome);
    QFETCH(QStringList, messages);
    RecordingPlatform platform;
    FakeLauncher launcher;
    launcher.outcome = outcome;
    AboutBox box;
    box.setSystemInfoLauncher(launcher);
    box.startSystemInfo();
    QCOMPARE(launcher.launches, 1);
    QCOMPARE(platform.messages, messages);
  }

  void keys() {
    RecordingPlatform platform;
    FakeLauncher launcher;
    launcher.outcome = Launch::Fails;
    AboutBox box;
    box.setSystemInfoLauncher(launcher);
    QWidget* icon = box.findChild<QWidget*>("picIcon");
    showActive(&box);
    QCOMPARE(QApplication::focusWidget(), box.findChild<QWidget*>("cmdOK"));
    // Escape and Enter close the box, also from the icon.
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return}) {
      icon->setFocus();
      QTest::keyClick(icon, key);
      QVERIFY(!box.isVisible());
      showActive(&box);
    }
    // Alt+S asks for the system information and the box stays.
    QTest::keyClick(box.windowHandle(), Qt::Key_S, Qt::AltModifier);
    QTRY_COMPARE(platform.messages, QStringList{"此时系统信息不可用"});
    QVERIFY(box.isVisible());
  }
};

QTEST_MAIN(AboutTest)
#include "about_test.moc"
