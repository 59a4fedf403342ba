// In-place editing of the grid's cells: opening the number editor and the
// sign drop-down, the number editor's key filter, the commits and their
// normalisation, the highlight, scrolling and rebuilds, and the order in
// which a commit and the control taking the focus act.
#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QtTest>

#include "app/form1.h"
#include "app/form3.h"
#include "lp/lp_commands.h"
#include "results/form2.h"
#include "sheet/cell_editing.h"
#include "sheet/sheet_grid.h"
#include "support/recording_platform.h"

using orcalc::Sheet;
using orcalc::ui::CellEditing;
using orcalc::ui::SheetGrid;
using orcalc::ui::testing::RecordingPlatform;

namespace {

const QColor kNavy(0, 0, 128);

// A sheet window in small: the grid, the two floating editors and a button,
// editing configured with the linear-programming sheet's sign column.
class TestWindow : public QWidget {
 public:
  TestWindow() {
    resize(760, 420);
    grid = new SheetGrid(this);
    grid->setGeometry(8, 48, 740, 360);
    text8 = new QLineEdit(this);
    combo3 = new QComboBox(this);
    button = new QPushButton(QStringLiteral("计算"), this);
    button->setGeometry(8, 8, 80, 30);
    editing = new CellEditing(this, grid, text8, combo3, [](int cols) { return cols - 2; });
    editing->loadItems();
  }
  SheetGrid* grid;
  QLineEdit* text8;
  QComboBox* combo3;
  QPushButton* button;
  CellEditing* editing;
};

// Lets queued key presses arrive.
void settle() {
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
}

void showActive(QWidget* window) {
  window->show();
  QVERIFY(QTest::qWaitForWindowActive(window));
}

void clickCell(SheetGrid* grid, int row, int col) {
  QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(row, col).center());
}

// Types into whatever has the focus, one key at a time, as a user would.
void type(const QString& keys) {
  for (QChar ch : keys) {
    QTest::keyClicks(QApplication::focusWidget(), QString(ch));
    settle();
  }
}

// Opens the drop-down's list with a click on its arrow and clicks `item`.
void chooseFromList(QComboBox* combo, int item) {
  QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(combo->width() - 4, combo->height() / 2));
  QVERIFY(combo->isVisible());
  QAbstractItemView* list = combo->view();
  QVERIFY(QTest::qWaitForWindowExposed(list->window()));
  const QPoint at = list->visualRect(list->model()->index(item, 0)).center();
  QTest::mouseMove(list->viewport(), at);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  settle();
}

}  // namespace

class CellEditingTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<RecordingPlatform> platform_;
  std::unique_ptr<TestWindow> w_;
  SheetGrid* grid_ = nullptr;
  QLineEdit* text8_ = nullptr;
  QComboBox* combo3_ = nullptr;

  void click(int row, int col) { clickCell(grid_, row, col); }
  void typeAt(int row, int col, const QString& keys) {
    click(row, col);
    type(keys);
  }
  void enter() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return); }
  QString cell(int row, int col) const { return grid_->text(row, col); }

 private slots:
  // Every test starts on the linear-programming sheet for 2 variables and
  // 3 constraints: number columns 1, 2 and 4, the sign column 3.
  void init() {
    platform_ = std::make_unique<RecordingPlatform>();
    w_ = std::make_unique<TestWindow>();
    grid_ = w_->grid;
    text8_ = w_->text8;
    combo3_ = w_->combo3;
    showActive(w_.get());
    grid_->setFocus();
    grid_->modifySheet([](Sheet& sheet) {
      orcalc::lp::LayOutSheet(sheet, 2, 3, orcalc::lp::Sense::Maximise);
    });
  }
  void cleanup() {
    w_.reset();
    platform_.reset();
  }

  void keysOpenTheTextEditorAndTheFirstOneIsTyped() {
    click(2, 1);
    QVERIFY(!text8_->isVisible());  // a click only highlights a number cell
    QCOMPARE(grid_->cellBackground(2, 1), kNavy);
    type(QStringLiteral("5"));
    QVERIFY(text8_->isVisible() && text8_->hasFocus());
    QCOMPARE(text8_->text(), QStringLiteral("5"));
    QCOMPARE(cell(2, 1), QStringLiteral("5"));  // at once
    enter();
    grid_->setText(3, 2, QStringLiteral("12"));
    typeAt(3, 2, QStringLiteral("5"));
    QCOMPARE(cell(3, 2), QStringLiteral("125"));  // after the cell's text
    QCOMPARE(w_->editing->gRow(), 3);
    QCOMPARE(w_->editing->gCol(), 2);
    enter();
    // Enter and a double-click open with the text as it is.
    grid_->setText(2, 2, QStringLiteral("7.5"));
    typeAt(2, 2, QStringLiteral("\r"));
    QVERIFY(text8_->isVisible());
    QCOMPARE(text8_->text(), QStringLiteral("7.5"));
    enter();
    click(3, 1);
    QTest::mouseDClick(grid_, Qt::LeftButton, {}, grid_->cellRect(3, 1).center());
    settle();
    QVERIFY(text8_->isVisible());
    QCOMPARE(text8_->text(), QString());
    enter();
    // Backspace, Escape and letters open it too, and pass its filter.
    grid_->setText(2, 1, QStringLiteral("12"));
    typeAt(2, 1, QStringLiteral("\b"));
    QCOMPARE(text8_->text(), QStringLiteral("1"));
    enter();
    click(1, 1);
    QTest::keyClick(grid_, Qt::Key_Escape);
    settle();
    QVERIFY(text8_->isVisible());
    enter();
    typeAt(1, 2, QStringLiteral("x"));
    QVERIFY(text8_->isVisible());
    QCOMPARE(text8_->text(), QString());
    QCOMPARE(platform_->beeps, 2);
  }

  void placesTheEditorsOverTheCurrentCell() {
    const int height_before = combo3_->height();
    typeAt(3, 2, QStringLiteral("\r"));
    const QRect cell = grid_->cellRect(3, 2).translated(grid_->pos());
    QCOMPARE(text8_->geometry(), QRect(cell.topLeft(), cell.size() - QSize(1, 1)));
    enter();
    // A click leaves the drop-down's height; a key sets it.
    click(2, 3);
    const QRect sign = grid_->cellRect(2, 3).translated(grid_->pos());
    QCOMPARE(combo3_->geometry(), QRect(sign.left(), sign.top(), sign.width() - 1, height_before));
    QTest::keyClick(grid_, Qt::Key_Space);
    QCOMPARE(combo3_->geometry(), QRect(sign.topLeft(), sign.size() - QSize(1, 1)));
  }

  void signCellsOpenTheDropDownOnAClickOrKey() {
    grid_->setText(3, 3, QStringLiteral(" ≤ "));
    click(3, 3);
    QVERIFY(combo3_->isVisible());
    QCOMPARE(combo3_->currentText(), QStringLiteral(" ≤ "));
    QVERIFY(grid_->hasFocus());
    click(2, 1);
    QTest::keyClick(grid_, Qt::Key_Right);
    QTest::keyClick(grid_, Qt::Key_Right);
    QCOMPARE(w_->editing->gCol(), 1);  // arrows do not record
    QTest::keyClick(grid_, Qt::Key_7);
    settle();
    QVERIFY(combo3_->isVisible() && !text8_->isVisible() && grid_->hasFocus());
    QCOMPARE(combo3_->currentText(), QString());  // nothing typed
    QCOMPARE(w_->editing->gCol(), 3);
    // Before the first layout no cell is a sign cell.
    grid_->modifySheet([](Sheet& sheet) { sheet = Sheet(); });
    click(1, 1);
    QVERIFY(!combo3_->isVisible());
    type(QStringLiteral("4"));
    QCOMPARE(cell(1, 1), QStringLiteral("4"));
  }

  void theFilterTakesDigitsOnePointAndOneMinus() {
    typeAt(2, 1, QStringLiteral("5-.1.-2"));
    QCOMPARE(text8_->text(), QStringLiteral("5-.12"));
    QCOMPARE(platform_->beeps, 0);
    type(QStringLiteral("/,a +E"));
    QCOMPARE(text8_->text(), QStringLiteral("5-.12"));
    QCOMPARE(platform_->beeps, 6);
    enter();
    QCOMPARE(platform_->beeps, 6);
    QCOMPARE(cell(2, 1), QStringLiteral("5-.12"));
    // A selected point still counts as there.
    grid_->setText(2, 2, QStringLiteral("1.5"));
    typeAt(2, 2, QStringLiteral("\r"));
    text8_->selectAll();
    type(QStringLiteral(".7"));
    QCOMPARE(text8_->text(), QStringLiteral("7"));
    // Pasted and input-method text pass the same filter.
    QGuiApplication::clipboard()->setText(QStringLiteral("2a.5-x-3"));
    QTest::keyClick(text8_, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(text8_->text(), QStringLiteral("72.5-3"));
    QInputMethodEvent input;
    input.setCommitString(QStringLiteral("六8"));
    QApplication::sendEvent(text8_, &input);
    QCOMPARE(text8_->text(), QStringLiteral("72.5-38"));
    QCOMPARE(platform_->beeps, 8);
    QCOMPARE(cell(2, 2), QStringLiteral("72.5-38"));
  }

  void theCommitNormalisesALeadingOrTrailingPoint() {
    const std::pair<const char*, const char*> cases[] = {
        {".", "0."}, {".5", "0.5"}, {"5.", "5.0"}, {"-.5", "-.5"}, {"-", "-"}, {"5-", "5-"}, {"9\b", ""}};
    for (const auto& [typed, stored] : cases) {
      grid_->setText(2, 1, QString());
      typeAt(2, 1, QString::fromLatin1(typed));
      enter();
      QVERIFY(!text8_->isVisible());
      QCOMPARE(cell(2, 1), QString::fromLatin1(stored));
    }
  }

  void enterKeepsTheCellUpAndDownMoveOneRowAfterTheCommit() {
    typeAt(2, 2, QStringLiteral("3"));
    enter();
    QVERIFY(grid_->hasFocus());
    QCOMPARE(grid_->currentRow(), 2);
    type(QStringLiteral("\r1"));
    QTest::keyClick(text8_, Qt::Key_Down);
    QCOMPARE(cell(2, 2), QStringLiteral("31"));
    QCOMPARE(grid_->currentRow(), 2);  // the move is queued
    settle();
    QCOMPARE(grid_->currentRow(), 3);
    QVERIFY(!text8_->isVisible() && grid_->hasFocus());
    type(QStringLiteral("8"));
    QTest::keyClick(text8_, Qt::Key_Up, Qt::ShiftModifier);
    settle();
    QCOMPARE(cell(3, 2), QStringLiteral("8"));
    QCOMPARE(grid_->currentRow(), 2);
  }

  void theControlTakingTheFocusSeesTheCommittedValue() {
    QString seen;
    connect(w_->button, &QPushButton::clicked, this, [&] { seen = cell(2, 4); });
    typeAt(2, 4, QStringLiteral("4."));
    QTest::mouseClick(w_->button, Qt::LeftButton);
    QCOMPARE(seen, QStringLiteral("4.0"));
    QVERIFY(!text8_->isVisible());
    typeAt(2, 1, QStringLiteral(".25"));
    click(3, 2);
    QCOMPARE(cell(2, 1), QStringLiteral("0.25"));
    QCOMPARE(cell(3, 2), QString());
    QCOMPARE(grid_->currentRow(), 3);
  }

  void theDropDownCommitsAChoiceOrTypedText() {
    click(2, 3);
    w_->combo3->setFocus(Qt::MouseFocusReason);
    combo3_->setCurrentIndex(0);
    QTest::keyClick(combo3_, Qt::Key_Down);  // chooses " ≤ "
    QCOMPARE(cell(2, 3), QStringLiteral(" ≤ "));
    QVERIFY(!combo3_->isVisible() && grid_->hasFocus());
    // From the list, opened by the mouse for the first time.
    click(3, 3);
    chooseFromList(combo3_, 2);
    QCOMPARE(cell(3, 3), QStringLiteral(" ═ "));
    QVERIFY(!combo3_->isVisible());
    // Typed text goes in unchanged, on focus loss or Enter.
    click(4, 3);
    QTest::mouseClick(combo3_->lineEdit(), Qt::LeftButton);
    combo3_->lineEdit()->clear();
    QTest::keyClicks(combo3_, QStringLiteral("le q"));
    QTest::mouseClick(w_->button, Qt::LeftButton);
    QCOMPARE(cell(4, 3), QStringLiteral("le q"));
    click(1, 3);
    QTest::mouseClick(combo3_->lineEdit(), Qt::LeftButton);
    combo3_->lineEdit()->setText(QStringLiteral("x"));
    QTest::keyClick(combo3_, Qt::Key_Return);
    QCOMPARE(cell(1, 3), QStringLiteral("x"));
    QVERIFY(!combo3_->isVisible() && grid_->hasFocus());
    QCOMPARE(combo3_->count(), 3);
    QCOMPARE(platform_->beeps, 0);
  }

  void anUnfocusedDropDownFollowsSignCellsAndClosesElsewhere() {
    grid_->setText(2, 3, QStringLiteral(" ≥ "));
    grid_->setText(3, 3, QStringLiteral(" ≤ "));
    click(2, 3);
    click(4, 3);  // moves there with the recorded cell
    QVERIFY(combo3_->isVisible());
    QCOMPARE(combo3_->y(), grid_->y() + grid_->cellRect(4, 3).y());
    QCOMPARE(w_->editing->gRow(), 4);
    click(3, 1);  // a number cell: it closes, writing nothing
    QVERIFY(!combo3_->isVisible());
    QCOMPARE(cell(4, 3), QString());
    QCOMPARE(cell(3, 1), QString());
    click(2, 3);  // a key on a number cell: the text editor replaces it
    QTest::keyClick(grid_, Qt::Key_Left);
    QTest::keyClick(grid_, Qt::Key_Return);
    QVERIFY(!combo3_->isVisible() && text8_->isVisible());
    QCOMPARE(cell(2, 2), QString());
    // Arrowing past other sign cells leaves the showing text alone.
    click(2, 3);
    QTest::keyClick(grid_, Qt::Key_Down);
    QCOMPARE(combo3_->currentText(), QStringLiteral(" ≥ "));
    QTest::mouseClick(combo3_->lineEdit(), Qt::LeftButton);
    QTest::mouseClick(w_->button, Qt::LeftButton);
    QCOMPARE(cell(2, 3), QStringLiteral(" ≥ "));
    QCOMPARE(cell(3, 3), QStringLiteral(" ≤ "));
    QCOMPARE(grid_->currentRow(), 3);
  }

  void theHighlightFollowsFocusAndCellChangesAndPreloads() {
    grid_->setText(2, 2, QStringLiteral("6.25"));
    grid_->setText(2, 3, QStringLiteral(" ≤ "));
    click(2, 1);
    QCOMPARE(grid_->cellForeground(2, 1), QColor(Qt::white));
    typeAt(2, 1, QStringLiteral("\r"));  // the grid loses the focus
    QCOMPARE(grid_->cellBackground(2, 1), QColor(Qt::white));
    QCOMPARE(grid_->cellForeground(2, 1), QColor(Qt::black));
    enter();
    QCOMPARE(grid_->cellBackground(2, 1), QColor(Qt::white));
    QTest::keyClick(grid_, Qt::Key_Right);
    QCOMPARE(grid_->cellBackground(2, 2), kNavy);
    QCOMPARE(text8_->selectedText(), QStringLiteral("6.25"));
    QTest::keyClick(grid_, Qt::Key_Right);
    QCOMPARE(grid_->cellBackground(2, 2), QColor(Qt::white));
    QCOMPARE(combo3_->currentText(), QStringLiteral(" ≤ "));
    QCOMPARE(combo3_->lineEdit()->selectedText(), QStringLiteral("≤ "));
    QVERIFY(!text8_->isVisible() && !combo3_->isVisible());
  }

  void scrollingHidesTheEditorsAfterTheCommit() {
    grid_->modifySheet([](Sheet& sheet) {
      orcalc::lp::LayOutSheet(sheet, 60, 60, orcalc::lp::Sense::Maximise);
    });
    typeAt(2, 2, QStringLiteral("9"));
    grid_->verticalScrollBar()->setValue(10);
    QVERIFY(!text8_->isVisible() && grid_->hasFocus());
    QCOMPARE(cell(2, 2), QStringLiteral("9"));
    grid_->setTopRow(1);
    grid_->setLeftCol(55);
    click(2, 61);
    QVERIFY(combo3_->isVisible());
    grid_->setLeftCol(50);
    QVERIFY(!combo3_->isVisible());
    QCOMPARE(cell(2, 61), QString());
  }

  void rebuildsAndLateKeysWriteNothingAstray() {
    QCOMPARE(w_->editing->gRow(), 0);  // the recorded cell starts at 0
    typeAt(4, 2, QStringLiteral("7"));
    w_->editing->closeEditors();
    QVERIFY(!text8_->isVisible() && grid_->hasFocus());
    QCOMPARE(cell(4, 2), QStringLiteral("7"));
    // A drop-down over a row a rebuild removed: its commit is dropped.
    click(4, 3);
    grid_->modifySheet([](Sheet& sheet) {
      orcalc::lp::LayOutSheet(sheet, 1, 1, orcalc::lp::Sense::Maximise);
    });
    QTest::mouseClick(combo3_->lineEdit(), Qt::LeftButton);
    combo3_->setCurrentIndex(0);
    QTest::keyClick(combo3_, Qt::Key_Down);
    QVERIFY(!combo3_->isVisible());
    for (int r = 1; r < 3; ++r) {
      for (int c = 1; c < 4; ++c) QVERIFY(!cell(r, c).contains(QStringLiteral("≤")));
    }
    // A forwarded key that arrives after its editor closed goes nowhere.
    grid_->setText(2, 2, QStringLiteral("8"));
    click(1, 1);
    QTest::keyClick(grid_, Qt::Key_5);
    enter();
    grid_->setCurrentCell(2, 2);
    settle();
    QCOMPARE(cell(2, 2), QStringLiteral("8"));
    QCOMPARE(cell(1, 1), QString());
    w_->editing->loadItems();
    QCOMPARE(combo3_->count(), 3);
    QCOMPARE(combo3_->itemText(1), QStringLiteral(" ≤ "));
  }

  // On the sheet windows --------------------------------------------------

  void calculateReadsTheValueStillInTheEditor() {
    orcalc::ui::Form1 form;
    showActive(&form);
    SheetGrid* grid = form.MSFlexGrid1;
    form.Text2->setText(QStringLiteral("2"));
    form.Text1->setText(QStringLiteral("1"));
    form.Option1[0]->setChecked(true);
    QTest::mouseClick(form.Command1, Qt::LeftButton);
    const char* cells[][5] = {{"", "3", "2", "", ""}, {"", "1", "1", " ≤ ", ""}};
    for (int r = 0; r < 2; ++r) {
      for (int c = 1; c < 4; ++c) grid->setText(r + 1, c, QString::fromUtf8(cells[r][c]));
    }
    clickCell(grid, 2, 4);
    type(QStringLiteral("4."));  // still in the open editor
    QStringList reports;
    platform_->onModal = [&](QDialog* dialog) {
      if (auto* results = qobject_cast<orcalc::ui::Form2*>(dialog)) {
        reports << QString::fromUtf8(results->reportBytes());
      }
    };
    QTest::mouseClick(form.Command2, Qt::LeftButton);
    Sheet expected = grid->sheet();
    expected.SetCell(2, 4, "4.0");
    const auto outcome = orcalc::lp::Calculate({2, 1, orcalc::lp::Sense::Maximise}, expected);
    QCOMPARE(reports, QStringList{QString::fromStdString(outcome.report.value())});
    QVERIFY(reports[0].contains(QStringLiteral("S = 12")));
    // OK closes the editors before it rebuilds the sheet.
    clickCell(grid, 2, 3);
    QVERIFY(form.Combo3->isVisible());
    QTest::mouseClick(form.Command1, Qt::LeftButton);
    QVERIFY(!form.Combo3->isVisible());
    QCOMPARE(grid->text(2, 3), QStringLiteral(" ≤ "));
  }

  void theGoalSheetsDropDownIsTheSixthColumnFromTheRight() {
    orcalc::ui::Form1 form;
    showActive(&form);
    int opened = 0;
    platform_->onModal = [&](QDialog* dialog) {
      auto* goal = qobject_cast<orcalc::ui::Form3*>(dialog);
      if (!goal) return;
      ++opened;
      showActive(goal);
      QCOMPARE(goal->editing().gCol(), 0);  // a new window each time
      goal->Text1->setText(QStringLiteral("2"));
      goal->Text2->setText(QStringLiteral("3"));
      QTest::mouseClick(goal->Command1, Qt::LeftButton);
      SheetGrid* grid = goal->MSFlexGrid1;
      const int cols = grid->cols();
      clickCell(grid, 2, cols - 6);
      QVERIFY(goal->Combo3->isVisible());
      for (int col = cols - 5; col < cols; ++col) {
        grid->scrollToCell(2, col);
        clickCell(grid, 2, col);
        QVERIFY(!goal->Combo3->isVisible());
        QTest::keyClicks(grid, QStringLiteral("1"));
        settle();
        QTest::keyClick(goal->Text8, Qt::Key_Return);
        QCOMPARE(grid->text(2, col), QStringLiteral("1"));
      }
    };
    QTest::mouseClick(form.Command4, Qt::LeftButton);
    QTest::mouseClick(form.Command4, Qt::LeftButton);
    QCOMPARE(opened, 2);
  }
};

QTEST_MAIN(CellEditingTest)
#include "cell_editing_test.moc"
