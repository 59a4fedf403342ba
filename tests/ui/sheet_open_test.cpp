// Opening sheet files: one made by hand with its own header texts opens
// when its shape and sign column fit, a sheet of the other window's kind is
// named as such; every reason the reader gives is shown in Chinese, naming
// the file and the line; what is not a regular file and a huge file are
// refused.
#include <sys/stat.h>

#include <QRegularExpression>

#include "files/sheet_file.h"
#include "support/window_helpers.h"

using namespace orcalc;
using namespace orcalc::ui;
using namespace orcalc::ui::testing;

class SheetOpenTest : public QObject {
  Q_OBJECT
  QTemporaryDir settings_;

 private slots:
  void initTestCase() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
  }

  void reasonsAreChinese_data() {
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QByteArray thousand_fields = QByteArray(1000, ',') + "\n";
    QByteArray thousand_records;
    for (int i = 0; i < 1001; ++i) thousand_records += "1\n";
    // clang-format off
    QTest::newRow("empty") << QByteArray() << "文件是空的，没有任何记录";
    QTest::newRow("byte-order mark only") << QByteArray("\xEF\xBB\xBF") << "文件是空的，没有任何记录";
    QTest::newRow("unclosed quote") << QByteArray("a,b\n\"c,d\n") << "第 2 行：引号中的字段没有结束";
    QTest::newRow("text after a quote") << QByteArray("a\n\"b\"c\n") << "第 2 行：结束的引号后面还有文字";
    QTest::newRow("quote inside a field") << QByteArray("a\nb\"c\n") << "第 2 行：没有引号的字段中出现了引号";
    QTest::newRow("bad UTF-8 after its mark") << QByteArray("\xEF\xBB\xBF" "a\n\xFF\n") << "第 2 行：文件不是有效的 UTF-8 文本";
    QTest::newRow("bad UTF-16") << QByteArray("\xFF\xFE" "a\0\n\0\x00\xDC", 8) << "第 2 行：文件不是有效的 UTF-16 文本";
    QTest::newRow("neither UTF-8 nor GB18030") << QByteArray("a\nb\n\x81\x20\n") << "第 3 行：文件既不是 UTF-8 文本，也不是 GB18030 文本";
    QTest::newRow("too many fields") << QByteArray("a\n") + thousand_fields << "第 2 行：一条记录的字段多于 1000 个，表格文件的一条记录最多只能有这么多";
    QTest::newRow("too many records") << thousand_records << "第 1001 行：文件的记录多于 1000 条，表格文件最多只能有这么多";
    // clang-format on
  }

  void reasonsAreChinese() {
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    RecordingPlatform platform;
    QTemporaryDir dir;
    const QString path = dir.filePath("bad.csv");
    QVERIFY(writeFile(path, bytes));
    LpWindow form;
    fillExample(form);
    const Sheet before = form.grid()->sheet();
    const int steps = form.undoStack().count();
    QVERIFY(!form.openSheetFile(path));
    QCOMPARE(platform.messages, QStringList("无法打开表格文件“" + QDir::toNativeSeparators(path) +
                                            "”：" + reason + "。表格没有改变。"));
    QCOMPARE(form.grid()->sheet(), before);
    QCOMPARE(form.undoStack().count(), steps);
    QCOMPARE(form.windowTitle(), QStringLiteral("线性规划计算程序"));
  }

  // A pipe with no writer, a folder, a device: refused as not regular files
  // (the reader's own tests guard that such a refusal never blocks).
  void whatIsNotAFileIsRefused() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    const QString fifo = dir.filePath("pipe.csv");
    QVERIFY(mkfifo(QFile::encodeName(fifo).constData(), 0666) == 0);
    LpWindow form;
    for (const QString& path : {fifo, dir.path(), QStringLiteral("/dev/zero")})
      QVERIFY(!form.openSheetFile(path));
    QCOMPARE(platform.messages.size(), 3);
    QCOMPARE(platform.messages[0],
             "无法打开表格文件“" + QDir::toNativeSeparators(fifo) +
                 "”：它不是普通文件（而是文件夹、设备、管道或套接字）。表格没有改变。");
    QVERIFY(platform.messages[2].contains("“/dev/zero”：它不是普通文件"));
  }

  void aHugeOrMissingFileIsRefusedInChinese() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    const QString huge = dir.filePath("huge.csv");
    {
      QFile file(huge);
      QVERIFY(file.open(QIODevice::WriteOnly) && file.resize(qint64{1} << 30));  // sparse
    }
    LpWindow form;
    QVERIFY(!form.openSheetFile(huge));
    QVERIFY(!form.openSheetFile(dir.filePath("missing.csv")));
    QCOMPARE(platform.messages.size(), 2);
    QVERIFY2(platform.messages[0].endsWith(
                 "”：文件大于 64 MB（67108864 字节），表格文件最多只能这么大。表格没有改变。"),
             qPrintable(platform.messages[0]));
    QVERIFY2(platform.messages[1].endsWith("”：没有那个文件或目录。表格没有改变。"),
             qPrintable(platform.messages[1]));
  }
  // Header texts named freely: the window's own headers, the data as in the
  // file, plain signs in their cell form; the report is the example's.
  void handMadeSheetsOpen() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    const QString path = dir.filePath("hand.csv");
    QVERIFY(writeFile(path, ",x1,x2,sign,rhs\nobj,3,2,,max\nc1,1,1,<=,4\nc2,1,3,<=,6\n"));
    LpWindow form;
    QVERIFY(form.openSheetFile(path));
    QCOMPARE(platform.messages, QStringList());
    LpWindow typed;
    fillExample(typed);
    QCOMPARE(form.grid()->sheet(), typed.grid()->sheet());
    QList<Shown> shown;
    recordResults(platform, shown);
    form.calculate();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(QByteArray::fromStdString(shown[0].text), QByteArray(kExampleReport));
  }

  void sheetsOfTheOtherKindAreNamed_data() {
    QTest::addColumn<bool>("inGoalWindow");
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("reason");
    const QString goal_refusal = "这是目标规划表格，请在目标规划窗口中打开";
    const QString lp_refusal = "这是线性规划表格，请在线性规划窗口中打开";
    LpWindow lp;
    fillExample(lp);
    GoalWindow goal;
    layOut(goal, 2, 2);
    const QByteArray lp_file = QByteArray::fromStdString(WriteSheetCsv(lp.grid()->sheet()));
    const QByteArray goal_file = QByteArray::fromStdString(WriteSheetCsv(goal.grid()->sheet()));
    QTest::newRow("goal sheet in the LP window") << false << goal_file << goal_refusal;
    // Two records: an LP sheet of that shape would fit too, with its
    // headers taken for names; the goal layout's headers decide.
    GoalWindow small_goal;
    layOut(small_goal, 1, 1);
    QTest::newRow("one goal, one variable")
        << false << QByteArray::fromStdString(WriteSheetCsv(small_goal.grid()->sheet()))
        << goal_refusal;
    QTest::newRow("LP sheet in the goal window") << true << lp_file << lp_refusal;
    QTest::newRow("hand-made, a number in the sign column")
        << false << QByteArray(",x1,x2,sign,rhs\nobj,3,2,,max\nc1,1,1,7,4\n")
        << "不是线性规划表格：第 3 行第 4 列应为约束符号，文件中是“7”";
  }

  void sheetsOfTheOtherKindAreNamed() {
    QFETCH(bool, inGoalWindow);
    QFETCH(QByteArray, bytes);
    QFETCH(QString, reason);
    RecordingPlatform platform;
    QTemporaryDir dir;
    const QString path = dir.filePath("sheet.csv");
    QVERIFY(writeFile(path, bytes));
    LpWindow lp;
    GoalWindow goal;
    SheetWindow& form = inGoalWindow ? static_cast<SheetWindow&>(goal) : lp;
    QVERIFY(!form.openSheetFile(path));
    QCOMPARE(platform.messages, QStringList("无法打开表格文件“" + QDir::toNativeSeparators(path) +
                                            "”：" + reason + "。表格没有改变。"));
  }
};

QTEST_MAIN(SheetOpenTest)
#include "sheet_open_test.moc"
