// The results window: design, report hand-off, resizing and saving.
#include <Qsci/qsciscintilla.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QtTest>

#include "platform/ansi_file.h"
#include "results/form2.h"
#include "sheet/twips.h"
#include "support/recording_platform.h"

using orcalc::ui::Form2;
using orcalc::ui::testing::RecordingPlatform;

namespace {

// The report of maximising 3χ1 + 2χ2 under χ1 + χ2 ≤ 4 and χ1 + 3χ2 ≤ 6.
const std::string kReport =
    "---------线性规划计算结果---------\r\n"
    "变量数m=2\r\n"
    "约束方程数n=2\r\n"
    "目标函数去极大值：p=1\r\n"
    "----------------------------------\r\n"
    "\r\n"
    "目标函数为:\r\n"
    " Max z = 3χ1 + 2χ2 \r\n"
    "\r\n"
    "\r\n"
    "约束方程如下:\r\n"
    "1*χ1 +  1*χ2 ≤  4\r\n"
    "1*χ1 +  3*χ2 ≤  6\r\n"
    "\r\n"
    "\r\n"
    "目标函数值 S = 12\r\n"
    "\r\n"
    "各变量最优解如下:\r\n"
    "χ1 =  4\r\n"
    "χ2 =  0\r\n";

QByteArray readFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return QByteArray("<unreadable>");
  return file.readAll();
}

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The next widget that Tab reaches after `w`.
QWidget* nextTabStop(QWidget* w) {
  QWidget* next = w->nextInFocusChain();
  while (next != w && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
  return next;
}

QRect twips(const QWidget* w) {
  using namespace orcalc::ui;
  return QRect(pixelsToTwipsX(w->x(), w), pixelsToTwipsY(w->y(), w), pixelsToTwipsX(w->width(), w),
               pixelsToTwipsY(w->height(), w));
}

}  // namespace

class ResultsWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void designCaptionsLayoutAndKeyboardOrder();
  void handOffKeepsOrReplacesTheTitleAndTheExactText();
  void eachReportGetsAFreshWindowDestroyedOnClose();
  void loadingIsNotAnUndoableEdit();
  void resizeFollowsTheWindowAndSkipsBelowTheMargins();

  void saveWritesGb18030BytesOfTheReport();
  void saveKeepsCharactersMissingFromGbk();
  void saveWritesEditsAndEmptyTextWithNothingAdded();
  void saveOffersTheFiltersAndTheRememberedName();
  void cancelledSaveWritesNothing();
  void unwritableTargetsReportTheFileAndReason_data();
  void unwritableTargetsReportTheFileAndReason();
  void failureMidWriteLeavesTheOldFileIntact();
  void readOnlyFileIsRefusedNotReplaced();
};

void ResultsWindowTest::designCaptionsLayoutAndKeyboardOrder() {
  Form2 form;
  QCOMPARE(form.windowTitle(), QStringLiteral("线性规划计算结果"));
  QCOMPARE(form.Label1->text(), QStringLiteral("线性规划计算结果"));
  QCOMPARE(form.Command2->text(), QStringLiteral("保 存"));
  QCOMPARE(form.Command1->text(), QStringLiteral("确 定"));

  QCOMPARE(twips(form.Text1), QRect(120, 720, 8895, 6015));
  QCOMPARE(twips(form.Command1), QRect(7320, 120, 855, 375));
  QCOMPARE(form.Command1->parentWidget(), form.Frame1);

  // A plain, unwrapped text box with both scroll bars and no margins.
  QCOMPARE(form.Text1->wrapMode(), QsciScintilla::WrapNone);
  QCOMPARE(form.Text1->margins(), 0);
  QVERIFY(form.Text1->lexer() == nullptr);
  QVERIFY(!form.Text1->isReadOnly());
  QCOMPARE(form.Text1->SendScintilla(QsciScintillaBase::SCI_GETHSCROLLBAR), 1L);
  QCOMPARE(form.Text1->SendScintilla(QsciScintillaBase::SCI_GETVSCROLLBAR), 1L);

  // Keyboard order: the report box, then OK, then save.
  QCOMPARE(nextTabStop(form.Text1), static_cast<QWidget*>(form.Command1));
  QCOMPARE(nextTabStop(form.Command1), static_cast<QWidget*>(form.Command2));
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  form.activateWindow();
  QTRY_COMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form.Text1));
}

void ResultsWindowTest::handOffKeepsOrReplacesTheTitleAndTheExactText() {
  RecordingPlatform platform;
  QString caption, label;
  QByteArray text;
  bool modal = false;
  platform.onModal = [&](QDialog* dialog) {
    auto* form = qobject_cast<Form2*>(dialog);
    QVERIFY(form);
    caption = form->windowTitle();
    label = form->Label1->text();
    text = form->reportBytes();
    modal = form->isModal();
  };

  Form2::showReport(nullptr, "", kReport);
  QCOMPARE(caption, QStringLiteral("线性规划计算结果"));
  QCOMPARE(label, caption);
  QCOMPARE(text, QByteArray::fromStdString(kReport));  // CR LF kept byte for byte
  QVERIFY(modal);

  Form2::showReport(nullptr, "统计结果", "共有样本数：0\r\n");
  QCOMPARE(caption, QStringLiteral("统计结果"));
  QCOMPARE(label, QStringLiteral("统计结果"));
  QCOMPARE(text, QByteArray("共有样本数：0\r\n"));

  // A linear-programming report after a titled one shows the design title.
  Form2::showReport(nullptr, "", "x\r\n");
  QCOMPARE(caption, QStringLiteral("线性规划计算结果"));
  QCOMPARE(label, QStringLiteral("线性规划计算结果"));
  QCOMPARE(platform.modalCount, 3);
}

void ResultsWindowTest::eachReportGetsAFreshWindowDestroyedOnClose() {
  RecordingPlatform platform;
  QPointer<Form2> shown;
  platform.onModal = [&](QDialog* dialog) {
    shown = qobject_cast<Form2*>(dialog);
    QTest::mouseClick(shown->Command1, Qt::LeftButton);  // 确 定 closes
    QVERIFY(!shown->isVisible());
  };
  Form2::showReport(nullptr, "目标规划计算结果", "a\r\n");
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  QVERIFY(shown.isNull());
  QCOMPARE(platform.messages, QStringList());
}

void ResultsWindowTest::loadingIsNotAnUndoableEdit() {
  Form2 form;
  form.setReportText(kReport);
  QVERIFY(!form.Text1->isUndoAvailable());
  form.Text1->insertAt(QStringLiteral("Z"), 0, 0);
  QVERIFY(form.Text1->isUndoAvailable());
  form.Text1->undo();
  QCOMPARE(form.reportBytes(), QByteArray::fromStdString(kReport));
  QVERIFY(!form.Text1->isUndoAvailable());
}

void ResultsWindowTest::resizeFollowsTheWindowAndSkipsBelowTheMargins() {
  using namespace orcalc::ui;
  Form2 form;
  form.show();
  QVERIFY(QTest::qWaitForWindowExposed(&form));
  const QRect text0 = twips(form.Text1);
  const QRect frame0 = twips(form.Frame1);
  const QRect save0 = form.Command2->geometry();
  const QRect ok0 = form.Command1->geometry();
  const QRect label0 = form.Label1->geometry();
  // The rule: report box and frame W - 300 wide, report box H - 1200 high,
  // W and H the outer size.
  const QRect outer0 = form.frameGeometry();
  QCOMPARE(text0.width(), pixelsToTwipsX(outer0.width(), &form) - 300);
  QCOMPARE(frame0.width(), text0.width());
  QCOMPARE(text0.height(), pixelsToTwipsY(outer0.height(), &form) - 1200);

  // Whole pixels at 96 dpi: 1500 and 600 twips.
  form.resize(form.width() + twipsToPixelsX(1500, &form),
              form.height() + twipsToPixelsY(600, &form));
  QTRY_COMPARE(twips(form.Text1).width(), text0.width() + 1500);
  QCOMPARE(twips(form.Frame1).width(), frame0.width() + 1500);
  QCOMPARE(twips(form.Text1).height(), text0.height() + 600);
  QCOMPARE(twips(form.Text1).topLeft(), text0.topLeft());
  QCOMPARE(form.Command2->geometry(), save0);
  QCOMPARE(form.Command1->geometry(), ok0);
  QCOMPARE(form.Label1->geometry(), label0);

  // Below the margins the last sizes stay and nothing fails.
  const QRect text1 = form.Text1->geometry();
  form.resize(5, 5);
  QTRY_COMPARE(form.size(), QSize(5, 5));
  QCOMPARE(form.Text1->geometry(), text1);
}

void ResultsWindowTest::saveWritesGb18030BytesOfTheReport() {
  RecordingPlatform platform;
  QTemporaryDir dir;
  const QString path = dir.filePath("report.TXT");
  platform.nextSavePath = path;
  Form2 form;
  form.setReportText(kReport);
  QTest::mouseClick(form.Command2, Qt::LeftButton);
  QCOMPARE(platform.messages, QStringList());
  const QByteArray written = readFile(path);

  // The first line by hand: hyphens, then 线性规划计算结果 in GBK.
  QVERIFY(written.startsWith(QByteArray(9, '-') +
                             QByteArray::fromHex("CFDFD0D4B9E6BBAEBCC6CBE3BDE1B9FB") +
                             QByteArray(9, '-') + "\r\n"));
  // χ, ≤ and ═'s GBK codes, and the line ends unchanged.
  QVERIFY(written.contains("1*" + QByteArray::fromHex("A6D6") + "1 +  3*" +
                           QByteArray::fromHex("A6D6") + "2 " + QByteArray::fromHex("A1DC") +
                           "  6\r\n"));
  QVERIFY(written.endsWith(QByteArray::fromHex("A6D6") + "2 =  0\r\n"));
  // The whole text against an independent converter.
  QStringEncoder gb18030("GB18030");
  QVERIFY(gb18030.isValid());
  QCOMPARE(written, QByteArray(gb18030.encode(QString::fromStdString(kReport))));
  QCOMPARE(written.count("\r\n"), 20);
  QVERIFY(!written.contains("\n\n"));
}

void ResultsWindowTest::saveKeepsCharactersMissingFromGbk() {
  // ═ (U+2550) has a GBK code; the emoji and U+20AC's neighbours do not and
  // take four bytes instead of a replacement character.
  const std::optional<QByteArray> bytes = orcalc::ui::EncodeAnsi("═😀Ω");
  QVERIFY(bytes.has_value());
  QCOMPARE(bytes->toHex(), QByteArray("a8549439fc36a6b8"));
  QVERIFY(!orcalc::ui::EncodeAnsi("\xff\xfe").has_value());
  QCOMPARE(orcalc::ui::EncodeAnsi("")->size(), 0);
}

void ResultsWindowTest::saveWritesEditsAndEmptyTextWithNothingAdded() {
  RecordingPlatform platform;
  QTemporaryDir dir;
  // A name without an extension is used unchanged.
  const QString path = dir.filePath("noext");
  platform.nextSavePath = path;
  Form2 form;
  form.setReportText("ab\r\ncd");
  form.Text1->insertAt(QStringLiteral("统计"), 1, 2);
  form.save();
  QCOMPARE(readFile(path), QByteArray("ab\r\ncd") + QByteArray::fromHex("CDB3BCC6"));
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{"noext"});

  // An empty box truncates the existing file to nothing.
  form.setReportText("");
  form.save();
  QVERIFY(QFileInfo::exists(path));
  QCOMPARE(readFile(path), QByteArray());
  QCOMPARE(platform.messages, QStringList());
}

void ResultsWindowTest::saveOffersTheFiltersAndTheRememberedName() {
  RecordingPlatform platform;
  QTemporaryDir dir;
  Form2 form;
  form.setReportText("1\r\n");
  platform.nextSavePath = dir.filePath("first.dat");
  form.save();
  platform.nextSavePath = dir.filePath("second.TXT");
  form.save();
  QCOMPARE(platform.saveRequests.size(), 2);
  // Two entries, *.TXT first (selected), *.dat second.
  const QStringList filters = platform.saveRequests[0].filter.split(";;");
  QCOMPARE(filters.size(), 2);
  QVERIFY(filters[0].startsWith(QStringLiteral("文件文件(*.TXT)")));
  QVERIFY(filters[0].endsWith(QStringLiteral("(*.TXT)")));
  QVERIFY(filters[1].startsWith(QStringLiteral("DAT 文件(*.DAT)")));
  QVERIFY(filters[1].endsWith(QStringLiteral("(*.dat)")));
  QCOMPARE(platform.saveRequests[0].initialPath, QString());
  QCOMPARE(platform.saveRequests[1].initialPath, dir.filePath("first.dat"));
  QCOMPARE(platform.saveRequests[1].filter, platform.saveRequests[0].filter);

  // A fresh window remembers nothing.
  Form2 other;
  other.save();
  QCOMPARE(platform.saveRequests[2].initialPath, QString());
}

void ResultsWindowTest::cancelledSaveWritesNothing() {
  RecordingPlatform platform;
  QTemporaryDir dir;
  const QString path = dir.filePath("kept.txt");
  QVERIFY(writeFile(path, "old"));
  Form2 form;
  form.setReportText("new\r\n");
  platform.nextSavePath = path;
  form.save();
  QCOMPARE(readFile(path), QByteArray("new\r\n"));
  form.Text1->setText(QStringLiteral("newer"));
  platform.nextSavePath.clear();  // the dialog offers the name; the user cancels
  form.save();
  QCOMPARE(platform.saveRequests.last().initialPath, path);
  QCOMPARE(readFile(path), QByteArray("new\r\n"));
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"kept.txt"});
  QCOMPARE(platform.messages, QStringList());
}

void ResultsWindowTest::unwritableTargetsReportTheFileAndReason_data() {
  QTest::addColumn<QString>("relative");
  QTest::newRow("missing folder") << "no/such/folder/report.txt";
  QTest::newRow("a folder") << "existing-folder";
}

void ResultsWindowTest::unwritableTargetsReportTheFileAndReason() {
  QFETCH(QString, relative);
  RecordingPlatform platform;
  QTemporaryDir dir;
  QVERIFY(QDir(dir.path()).mkdir("existing-folder"));
  const QString path = dir.filePath(relative);
  platform.nextSavePath = path;
  Form2 form;
  form.setReportText(kReport);
  form.show();
  form.save();
  QCOMPARE(platform.messages.size(), 1);
  const QString message = platform.messages[0];
  QVERIFY2(message.contains(QDir::toNativeSeparators(path)), qPrintable(message));
  QVERIFY2(message.size() > QDir::toNativeSeparators(path).size() + 10, qPrintable(message));
  QVERIFY(form.isVisible());
  QCOMPARE(form.reportBytes(), QByteArray::fromStdString(kReport));
  QVERIFY(QFileInfo(dir.filePath("existing-folder")).isDir());
  // The failed name is still the one offered next time.
  platform.nextSavePath.clear();
  form.save();
  QCOMPARE(platform.saveRequests.last().initialPath, path);
}

void ResultsWindowTest::failureMidWriteLeavesTheOldFileIntact() {
  RecordingPlatform platform;
  QTemporaryDir dir;
  const QString path = dir.filePath("old.txt");
  QVERIFY(writeFile(path, "earlier report\r\n"));
  platform.nextSavePath = path;
  platform.failWrites = QStringLiteral("No space left on device");
  Form2 form;
  form.setReportText(kReport);
  form.show();
  form.save();
  QCOMPARE(platform.messages.size(), 1);
  QVERIFY(platform.messages[0].contains(QDir::toNativeSeparators(path)));
  QVERIFY(platform.messages[0].contains(QStringLiteral("No space left on device")));
  QCOMPARE(readFile(path), QByteArray("earlier report\r\n"));
  // No half-written temporary file is left beside it.
  QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"old.txt"});
  QVERIFY(form.isVisible());

  // Once the device has room again, the same window saves normally.
  platform.failWrites.reset();
  form.save();
  QCOMPARE(platform.messages.size(), 1);
  QCOMPARE(readFile(path), QStringEncoder("GB18030").encode(QString::fromStdString(kReport)));
}

void ResultsWindowTest::readOnlyFileIsRefusedNotReplaced() {
  if (geteuid() == 0) QSKIP("permissions do not bind the superuser");
  RecordingPlatform platform;
  QTemporaryDir dir;
  const QString path = dir.filePath("locked.txt");
  QVERIFY(writeFile(path, "locked"));
  QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner));
  platform.nextSavePath = path;
  Form2 form;
  form.setReportText(kReport);
  form.save();
  QCOMPARE(platform.messages.size(), 1);
  QVERIFY(platform.messages[0].contains(QDir::toNativeSeparators(path)));
  QCOMPARE(readFile(path), QByteArray("locked"));
}

QTEST_MAIN(ResultsWindowTest)
#include "results_window_test.moc"
