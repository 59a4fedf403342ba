// 打印…, 打印预览… and 导出PDF… of the results and graph windows: the PDF
// written through the file writer holds the report's Chinese as text, the
// print dialog is asked on Ctrl+P, and what cannot be printed says why and
// writes nothing.
#include <Qsci/qsciscintilla.h>

#include <QFile>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include "geometry/graph_command.h"
#include "graph/graph_window.h"
#include "printing/page_painting.h"
#include "printing/pdf_text_map.h"
#include "results/report_font.h"
#include "steps/steps_command.h"
#include "stepsview/steps_window.h"
#include "support/window_helpers.h"

using namespace orcalc;
using namespace orcalc::ui;
using namespace orcalc::ui::testing;

namespace {

// The text pdftotext finds in `path`, or a null text when it is not installed.
QString pdfText(const QString& path) {
  const QString tool = QStandardPaths::findExecutable(QStringLiteral("pdftotext"));
  if (tool.isEmpty()) return {};
  QProcess process;
  process.start(tool, {QStringLiteral("-enc"), QStringLiteral("UTF-8"), path, QStringLiteral("-")});
  process.waitForFinished(30000);
  return QString::fromUtf8(process.readAllStandardOutput());
}

lp::GraphGeometry exampleGeometry() {
  LpWindow form;
  fillExample(form);
  const Sheet sheet = form.grid()->sheet();
  return *lp::CalculateGraph({2, sheet.rows() - 2, lp::Sense::Maximise}, sheet).geometry;
}

}  // namespace

class PrintingTest : public QObject {
  Q_OBJECT

 private slots:
  void theReportGoesToPdfWithItsChineseAsText() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    ResultsWindow form;
    form.setReportText(kExampleReport);
    // A name without the ending gets ".pdf".
    platform.nextSavePath = dir.filePath(QStringLiteral("报告"));
    form.printActions().pdf->trigger();
    const QString path = dir.filePath(QStringLiteral("报告.pdf"));
    QVERIFY(readFile(path).startsWith("%PDF-"));
    QVERIFY(platform.messages.isEmpty());
    const QString text = pdfText(path);
    if (text.isNull()) QSKIP("pdftotext is not installed");
    // 目 and 方 are drawn alike with the radicals ⽬ and ⽅: the text has
    // the ideographs.
    for (const char* part : {"线性规划", "目标函数", "约束方程"})
      QVERIFY2(text.contains(QString::fromUtf8(part)), qPrintable(text));
  }

  void radicalsInTheTextMapAreRenamedInPlace() {
    const QHash<char16_t, char16_t> map{{0x2F6C, 0x76EE}, {0x2F00, 0x4E00}, {0x2ED3, 0x957F}};
    QByteArray pdf(
        "stream\n2 beginbfrange\n<0000> <0000> <0000>\n"
        "<0001> <0003> [<2F6C> <6807> <2ed3> ]\n<0004> <0004> <2F00>\n"
        "<0010> <0019> <2F00>\nendbfrange\n1 beginbfchar\n<0020> <2F6C>\nendbfchar\n");
    const QByteArray renamed(
        "stream\n2 beginbfrange\n<0000> <0000> <0000>\n"
        "<0001> <0003> [<76EE> <6807> <957F> ]\n<0004> <0004> <4E00>\n"
        "<0010> <0019> <2F00>\nendbfrange\n1 beginbfchar\n<0020> <76EE>\nendbfchar\n");
    RenameCodePoints(pdf, map);
    QCOMPARE(pdf, renamed);  // a run of ten code points is left alone
    // The report's face draws 目 and ⽬ with one glyph.
    const QHash<char16_t, char16_t> face = RadicalIdeographs(reportFont(QFont()));
    if (face.isEmpty()) QSKIP("the CJK face is not installed");
    QCOMPARE(face.value(0x2F6C), char16_t{0x76EE});
  }

  void theStepsGoToPdfEveryTableWithItsChinese() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    LpWindow form;
    fillExample(form);
    auto outcome = steps::CalculateSteps({2, 2, lp::Sense::Maximise}, form.grid()->sheet(),
                                         {true, 2.0, 1000000});
    QVERIFY(outcome.document);
    StepsWindow window(std::move(*outcome.document));
    platform.nextSavePath = dir.filePath(QStringLiteral("单纯形表"));
    window.printActions().pdf->trigger();
    const QString path = dir.filePath(QStringLiteral("单纯形表.pdf"));
    QVERIFY(readFile(path).startsWith("%PDF-"));
    QVERIFY(platform.messages.isEmpty());
    QCOMPARE(window.printButton()->menu()->actions().size(), 3);
    const QString text = pdfText(path);
    if (text.isNull()) QSKIP("pdftotext is not installed");
    // Both tables, the pivot's sentence and why the method stopped.
    for (const char* part : {"表 1", "表 2", "χ1 进基", "χ3 出基", "最优", "目标函数值"})
      QVERIFY2(text.contains(QString::fromUtf8(part)), qPrintable(text));
  }

  void ctrlPAsksForAPrinterAndPrintsTheBoxAsItIsNow() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    ResultsWindow form;
    form.setReportText(kExampleReport);
    showActive(&form);
    QTest::keyClick(form.reportBox(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(platform.printDialogs, 1);  // cancelled: nothing printed
    platform.printAnswer = true;
    platform.printToFile = dir.filePath(QStringLiteral("printed.pdf"));
    QTest::keyClick(form.reportBox(), Qt::Key_P, Qt::ControlModifier);
    QCOMPARE(platform.printDialogs, 2);
    QVERIFY(readFile(platform.printToFile).startsWith("%PDF-"));
    form.printActions().preview->trigger();
    QCOMPARE(platform.printPreviews, 1);
  }

  void aReportTooLongToPrintIsRefusedAndNothingIsWritten() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    ResultsWindow form;
    std::string report;
    for (int i = 0; i <= kMostPrintedLines; ++i) report += "S = 1\r\n";
    form.setReportText(report);
    platform.nextSavePath = dir.filePath(QStringLiteral("long.pdf"));
    form.printActions().pdf->trigger();
    QCOMPARE(platform.messages.size(), 1);
    QVERIFY(platform.messages.first().contains(QStringLiteral("请先保存为文件")));
    QVERIFY(!QFile::exists(platform.nextSavePath));
  }

  void aReadOnlyPdfIsLeftAsItWasWithTheReason() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("kept.pdf"));
    QVERIFY(writeFile(path, "old"));
    QFile::setPermissions(path, QFile::ReadOwner);
    ResultsWindow form;
    form.setReportText(kExampleReport);
    platform.nextSavePath = path;
    form.printActions().pdf->trigger();
    QCOMPARE(platform.messages.size(), 1);
    QVERIFY(platform.messages.first().contains(QStringLiteral("文件是只读的")));
    QCOMPARE(readFile(path), QByteArray("old"));
  }

  void theGraphPrintsAsAVectorPicture() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    GraphWindow window(exampleGeometry());
    window.resize(700, 560);
    // The 打印… button holds the three commands.
    QCOMPARE(window.printButton->menu()->actions().size(), 3);
    platform.nextSavePath = dir.filePath(QStringLiteral("图解法.pdf"));
    window.printActions.pdf->trigger();
    QVERIFY(platform.messages.isEmpty());
    QVERIFY(readFile(platform.nextSavePath).startsWith("%PDF-"));
    const QString text = pdfText(platform.nextSavePath);
    if (text.isNull()) QSKIP("pdftotext is not installed");
    QVERIFY2(text.contains(QStringLiteral("目标函数")), qPrintable(text));
  }
};

QTEST_MAIN(PrintingTest)
#include "printing_test.moc"
