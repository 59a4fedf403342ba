// The whole road of a calculation through the program's own windows, with
// the keyboard and the mouse only: counts into the boxes, the sense, OK,
// every number and sign through the cell editors, Calculate, and saving the
// report; the saved file is compared byte for byte.
#include <iconv.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QtTest>
#include <string>

#include "app/application.h"
#include "app/form1.h"
#include "results/form2.h"
#include "sheet/sheet_grid.h"
#include "support/recording_platform.h"

using orcalc::ui::Form1;
using orcalc::ui::Form2;
using orcalc::ui::SheetGrid;
using orcalc::ui::testing::RecordingPlatform;

namespace {

// Maximise 3χ1 + 2χ2 under χ1 + χ2 ≤ 4 and χ1 + 3χ2 ≤ 6.
const char kReport[] =
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

// The text in GB18030, by the C library's converter.
QByteArray gb18030(const std::string& utf8) {
  iconv_t cd = iconv_open("GB18030", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string in = utf8;
  QByteArray out(static_cast<qsizetype>(in.size() * 4), '\0');
  char* src = in.data();
  size_t src_left = in.size();
  char* dst = out.data();
  size_t dst_left = static_cast<size_t>(out.size());
  const size_t done = iconv(cd, &src, &src_left, &dst, &dst_left);
  iconv_close(cd);
  if (done == static_cast<size_t>(-1) || src_left != 0) return {};
  out.truncate(out.size() - static_cast<qsizetype>(dst_left));
  return out;
}

void settle() {
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
}

}  // namespace

class EndToEndTest : public QObject {
  Q_OBJECT

 private:
  Form1* form_ = nullptr;

  SheetGrid* grid() const { return form_->MSFlexGrid1; }

  void clickCell(int row, int col) {
    QTest::mouseClick(grid(), Qt::LeftButton, {}, grid()->cellRect(row, col).center());
  }
  // Types a number on the current cell: the first key opens the editor,
  // the rest go into it.
  void typeNumber(const QString& digits) {
    QTest::keyClicks(grid(), digits.left(1));
    settle();
    QVERIFY(form_->Text8->hasFocus());
    QTest::keyClicks(form_->Text8, digits.mid(1));
  }
  // Replaces a count box's text by typing.
  void typeCount(QLineEdit* box, const QString& digits) {
    QTest::mouseClick(box, Qt::LeftButton);
    QTest::keyClick(box, Qt::Key_End);
    while (!box->text().isEmpty()) QTest::keyClick(box, Qt::Key_Backspace);
    QTest::keyClicks(box, digits);
  }
  // Opens the drop-down's list over a sign cell and clicks `item`.
  void pickSign(int row, int col, int item) {
    clickCell(row, col);
    QComboBox* combo = form_->Combo3;
    QVERIFY(combo->isVisible());
    QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(combo->width() - 4, combo->height() / 2));
    QAbstractItemView* list = combo->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    const QPoint at = list->visualRect(list->model()->index(item, 0)).center();
    QTest::mouseMove(list->viewport(), at);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    settle();
    QVERIFY(!combo->isVisible());
  }

 private slots:
  void initTestCase() { orcalc::ui::setUpApplication(*qApp); }

  void fillsSolvesAndSavesTheExample() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    QVERIFY(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("报告.TXT"));

    Form1 form;
    form_ = &form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    QVERIFY(grid()->hasFocus());

    typeCount(form.Text2, QStringLiteral("2"));
    typeCount(form.Text1, QStringLiteral("2"));
    QTest::mouseClick(form.Option1[0], Qt::LeftButton);
    QVERIFY(form.Option1[0]->isChecked());
    QTest::mouseClick(form.Command1, Qt::LeftButton);
    QCOMPARE(grid()->rows(), 4);
    QCOMPARE(grid()->cols(), 5);
    QVERIFY(form.Command2->isEnabled());

    // The objective row: Enter commits, then the arrow key moves on.
    clickCell(1, 1);
    typeNumber(QStringLiteral("3"));
    QTest::keyClick(form.Text8, Qt::Key_Return);
    QTest::keyClick(grid(), Qt::Key_Right);
    typeNumber(QStringLiteral("2"));
    // Down commits and moves to the first constraint.
    QTest::keyClick(form.Text8, Qt::Key_Down);
    settle();
    QCOMPARE(grid()->currentRow(), 2);
    typeNumber(QStringLiteral("1"));
    // A click on another cell commits too.
    clickCell(2, 1);
    typeNumber(QStringLiteral("1"));
    clickCell(2, 4);
    typeNumber(QStringLiteral("4"));
    clickCell(3, 1);
    typeNumber(QStringLiteral("1"));
    QTest::keyClick(form.Text8, Qt::Key_Return);
    QTest::mouseDClick(grid(), Qt::LeftButton, {}, grid()->cellRect(3, 2).center());
    QTest::keyClicks(form.Text8, QStringLiteral("3"));
    pickSign(2, 3, 1);
    pickSign(3, 3, 1);
    // The last number is still in its editor when Calculate is pressed.
    clickCell(3, 4);
    typeNumber(QStringLiteral("6"));
    QVERIFY(form.Text8->isVisible());

    QCOMPARE(grid()->text(1, 1), QStringLiteral("3"));
    QCOMPARE(grid()->text(1, 2), QStringLiteral("2"));
    QCOMPARE(grid()->text(2, 2), QStringLiteral("1"));
    QCOMPARE(grid()->text(2, 3), QStringLiteral(" ≤ "));
    QCOMPARE(grid()->text(3, 2), QStringLiteral("3"));

    QByteArray shown;
    platform.nextSavePath = path;
    platform.onModal = [&](QDialog* dialog) {
      auto* results = qobject_cast<Form2*>(dialog);
      if (!results) return;
      shown = results->reportBytes();
      QTest::mouseClick(results->Command2, Qt::LeftButton);
    };
    QTest::mouseClick(form.Command2, Qt::LeftButton);
    QCOMPARE(platform.modalCount, 1);
    QCOMPARE(platform.messages, QStringList());
    QCOMPARE(platform.beeps, 0);
    QCOMPARE(shown, QByteArray(kReport));
    QCOMPARE(grid()->text(3, 4), QStringLiteral("6"));

    QFile saved(path);
    QVERIFY(saved.open(QIODevice::ReadOnly));
    const QByteArray bytes = saved.readAll();
    const QByteArray expected = gb18030(kReport);
    QVERIFY(!expected.isEmpty());
    QCOMPARE(bytes, expected);
    // 线, χ and ≤ in their two-byte codes, and no trailing extra line end.
    QVERIFY(bytes.startsWith(QByteArray("---------\xCF\xDF")));
    QVERIFY(bytes.contains(QByteArray("1*\xA6\xD6" "1 +  3*\xA6\xD6" "2 \xA1\xDC  6\r\n")));
    QVERIFY(bytes.endsWith(QByteArray("\xA6\xD6" "2 =  0\r\n")));
  }
};

QTEST_MAIN(EndToEndTest)
#include "end_to_end_test.moc"
