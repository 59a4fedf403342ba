// In-place editing of the grid's cells: opening the number editor and the
// sign drop-down, the number editor's key filter, the commits and their
// normalisation, the highlight colours, scrolling, and the order in which
// a commit and the control taking the focus act.
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
#include "goal/goal_commands.h"
#include "lp/lp_commands.h"
#include "results/form2.h"
#include "sheet/cell_editing.h"
#include "sheet/sheet_grid.h"
#include "support/recording_platform.h"

using orcalc::Sheet;
using orcalc::ui::CellEditing;
using orcalc::ui::Form1;
using orcalc::ui::Form2;
using orcalc::ui::Form3;
using orcalc::ui::SheetGrid;
using orcalc::ui::testing::RecordingPlatform;

namespace {

const QColor kNavy(0, 0, 128);

// A sheet window in small: the grid, the two floating editors and a button,
// with the editing machinery configured by a sign column rule.
class TestWindow : public QWidget {
 public:
  explicit TestWindow(CellEditing::SignColumnRule rule) {
    resize(760, 420);
    grid = new SheetGrid(this);
    grid->setGeometry(8, 48, 740, 360);
    text8 = new QLineEdit(this);
    combo3 = new QComboBox(this);
    combo3->setEditable(true);
    button = new QPushButton(QStringLiteral("计算"), this);
    button->setGeometry(8, 8, 80, 30);
    editing = new CellEditing(this, grid, text8, combo3, std::move(rule));
    editing->loadItems();
    setTabOrder(grid, button);
  }

  SheetGrid* grid;
  QLineEdit* text8;
  QComboBox* combo3;
  QPushButton* button;
  CellEditing* editing;
};

int lpSignColumn(int cols) { return cols - 2; }
int goalSignColumn(int cols) { return cols - 6; }

// The reports the results window was given, captured while it is open.
void recordReports(RecordingPlatform& platform, QStringList& reports) {
  platform.onModal = [&reports](QDialog* dialog) {
    if (auto* form = qobject_cast<Form2*>(dialog)) reports << QString::fromUtf8(form->reportBytes());
  };
}

// Lets queued key presses arrive.
void settle() {
  QCoreApplication::processEvents();
  QCoreApplication::processEvents();
}

}  // namespace

class CellEditingTest : public QObject {
  Q_OBJECT

 private:
  std::unique_ptr<RecordingPlatform> platform_;
  std::unique_ptr<TestWindow> w_;

  void open(CellEditing::SignColumnRule rule = lpSignColumn) {
    w_ = std::make_unique<TestWindow>(std::move(rule));
    w_->show();
    QVERIFY(QTest::qWaitForWindowActive(w_.get()));
    w_->grid->setFocus();
    QVERIFY(w_->grid->hasFocus());
  }
  // The linear-programming sheet for 2 variables and 3 constraints:
  // number columns 1 and 2, the sign column 3, constants in column 4.
  void layOutLp() {
    w_->grid->modifySheet([](Sheet& sheet) {
      orcalc::lp::LayOutSheet(sheet, 2, 3, orcalc::lp::Sense::Maximise);
    });
  }
  void clickCell(int row, int col) {
    QTest::mouseClick(w_->grid, Qt::LeftButton, {}, w_->grid->cellRect(row, col).center());
  }
  void doubleClickCell(int row, int col) {
    // A real double-click: press, release, then the double-click press.
    const QPoint at = w_->grid->cellRect(row, col).center();
    QTest::mouseClick(w_->grid, Qt::LeftButton, {}, at);
    QTest::mouseDClick(w_->grid, Qt::LeftButton, {}, at);
  }
  // Goes to a cell with the mouse and types `keys` into the grid (the
  // first opens the editor; the rest reach the focused editor).
  void typeAt(int row, int col, const QString& keys) {
    clickCell(row, col);
    for (QChar ch : keys) {
      QTest::keyClicks(QApplication::focusWidget(), QString(ch));
      settle();
    }
  }
  QString cell(int row, int col) const { return w_->grid->text(row, col); }

 private slots:
  void init() { platform_ = std::make_unique<RecordingPlatform>(); }
  void cleanup() {
    w_.reset();
    platform_.reset();
  }

  // Opening the editors -------------------------------------------------

  void typingADigitOpensTheEditorAndShowsItInTheCell() {
    open();
    layOutLp();
    clickCell(2, 1);
    QVERIFY(!w_->text8->isVisible());
    QTest::keyClick(w_->grid, Qt::Key_5);
    QVERIFY(w_->text8->isVisible());
    QVERIFY(w_->text8->hasFocus());
    settle();
    QCOMPARE(w_->text8->text(), QStringLiteral("5"));
    QCOMPARE(cell(2, 1), QStringLiteral("5"));
    // The caret follows the cell's text: 12, then 5, gives 125.
    w_->grid->setText(3, 2, QStringLiteral("12"));
    typeAt(3, 2, QStringLiteral("5"));
    QCOMPARE(w_->text8->text(), QStringLiteral("125"));
    QCOMPARE(cell(3, 2), QStringLiteral("125"));
    QCOMPARE(w_->editing->gRow(), 3);
    QCOMPARE(w_->editing->gCol(), 2);
  }

  void enterAndDoubleClickOpenWithoutTyping() {
    open();
    layOutLp();
    w_->grid->setText(2, 2, QStringLiteral("7.5"));
    clickCell(2, 2);
    QTest::keyClick(w_->grid, Qt::Key_Return);
    settle();
    QVERIFY(w_->text8->isVisible());
    QCOMPARE(w_->text8->text(), QStringLiteral("7.5"));
    QTest::keyClick(w_->text8, Qt::Key_Return);
    QVERIFY(!w_->text8->isVisible());
    doubleClickCell(3, 1);
    settle();
    QVERIFY(w_->text8->isVisible());
    QCOMPARE(w_->text8->text(), QString());
    QCOMPARE(w_->editing->gRow(), 3);
    QCOMPARE(platform_->beeps, 0);
  }

  void everyCharacterKeyOpensTheEditorAndPassesItsFilter() {
    open();
    layOutLp();
    w_->grid->setText(2, 1, QStringLiteral("12"));
    typeAt(2, 1, QStringLiteral("\b"));  // Backspace: deletes at the end
    QCOMPARE(w_->text8->text(), QStringLiteral("1"));
    QTest::keyClick(w_->text8, Qt::Key_Return);
    clickCell(2, 2);
    QTest::keyClick(w_->grid, Qt::Key_Escape);
    settle();
    QVERIFY(w_->text8->isVisible());
    QCOMPARE(w_->text8->text(), QString());
    QCOMPARE(platform_->beeps, 1);
    QTest::keyClick(w_->text8, Qt::Key_Return);
    clickCell(3, 2);
    QTest::keyClick(w_->grid, Qt::Key_X);
    settle();
    QVERIFY(w_->text8->isVisible());
    QCOMPARE(w_->text8->text(), QString());
    QCOMPARE(platform_->beeps, 2);
  }

  void placesTheEditorsOverTheCurrentCell() {
    open();
    layOutLp();
    const int height_before = w_->combo3->height();
    clickCell(3, 2);
    QTest::keyClick(w_->grid, Qt::Key_Return);
    const QRect cell = w_->grid->cellRect(3, 2).translated(w_->grid->pos());
    QCOMPARE(w_->text8->geometry(), QRect(cell.topLeft(), cell.size() - QSize(1, 1)));
    QTest::keyClick(w_->text8, Qt::Key_Return);
    // A click leaves the drop-down's height; a key sets it.
    clickCell(2, 3);
    const QRect sign = w_->grid->cellRect(2, 3).translated(w_->grid->pos());
    QCOMPARE(w_->combo3->geometry(),
             QRect(sign.left(), sign.top(), sign.width() - 1, height_before));
    QTest::keyClick(w_->grid, Qt::Key_Space);
    QCOMPARE(w_->combo3->geometry(), QRect(sign.topLeft(), sign.size() - QSize(1, 1)));
  }

  void aSingleClickOpensOnlyTheDropDown() {
    open();
    layOutLp();
    clickCell(2, 1);
    QVERIFY(!w_->text8->isVisible());
    QVERIFY(!w_->combo3->isVisible());
    QCOMPARE(w_->grid->cellBackground(2, 1), kNavy);
    w_->grid->setText(3, 3, QStringLiteral(" ≤ "));
    clickCell(3, 3);
    QVERIFY(w_->combo3->isVisible());
    QCOMPARE(w_->combo3->currentText(), QStringLiteral(" ≤ "));
    QVERIFY(w_->grid->hasFocus());
    QCOMPARE(w_->editing->gRow(), 3);
    QCOMPARE(w_->editing->gCol(), 3);
  }

  void keysOnASignCellOpenTheDropDownAndTypeNothing() {
    open();
    layOutLp();
    clickCell(2, 1);
    QTest::keyClick(w_->grid, Qt::Key_Right);
    QTest::keyClick(w_->grid, Qt::Key_Right);
    QCOMPARE(w_->editing->gCol(), 1);  // arrows do not record
    QTest::keyClick(w_->grid, Qt::Key_7);
    settle();
    QVERIFY(w_->combo3->isVisible());
    QVERIFY(!w_->text8->isVisible());
    QVERIFY(w_->grid->hasFocus());
    QCOMPARE(w_->combo3->currentText(), QString());
    QCOMPARE(cell(2, 3), QString());
    QCOMPARE(w_->editing->gCol(), 3);
  }

  void beforeTheFirstLayoutNoCellIsASignCell() {
    open();
    clickCell(1, 1);
    QVERIFY(!w_->combo3->isVisible());
    QTest::keyClick(w_->grid, Qt::Key_4);
    settle();
    QVERIFY(w_->text8->isVisible());
    QCOMPARE(cell(1, 1), QStringLiteral("4"));
  }

  void goalSheetUsesTheSixthColumnFromTheRight() {
    open(goalSignColumn);
    w_->grid->modifySheet([](Sheet& sheet) { orcalc::goal::LayOutSheet(sheet, 2, 2); });
    const int cols = w_->grid->cols();  // N + 7 = 9
    clickCell(1, cols - 6);
    QVERIFY(w_->combo3->isVisible());
    for (int col : {cols - 5, cols - 4, cols - 3, cols - 2, cols - 1}) {
      w_->grid->setCurrentCell(1, col);
      QTest::keyClick(w_->grid, Qt::Key_Return);
      QVERIFY2(w_->text8->isVisible(), qPrintable(QString::number(col)));
      QVERIFY(!w_->combo3->isVisible());
      QTest::keyClick(w_->text8, Qt::Key_Return);
    }
  }

  // The number editor's key filter ---------------------------------------

  void theFilterAcceptsDigitsOnePointAndOneMinus() {
    open();
    layOutLp();
    typeAt(2, 1, QStringLiteral("5-.1.-2"));
    QCOMPARE(w_->text8->text(), QStringLiteral("5-.12"));
    QCOMPARE(platform_->beeps, 0);
    for (const char* refused : {"/", ",", "a", " ", "+", "E"}) {
      QTest::keyClicks(w_->text8, QString::fromLatin1(refused));
    }
    settle();
    QCOMPARE(w_->text8->text(), QStringLiteral("5-.12"));
    QCOMPARE(platform_->beeps, 6);
    QTest::keyClick(w_->text8, Qt::Key_Return);
    QCOMPARE(platform_->beeps, 6);
    QCOMPARE(cell(2, 1), QStringLiteral("5-.12"));
  }

  void aSelectedPointStillCountsAsPresent() {
    open();
    layOutLp();
    w_->grid->setText(2, 2, QStringLiteral("1.5"));
    clickCell(2, 2);
    QTest::keyClick(w_->grid, Qt::Key_Return);
    w_->text8->selectAll();
    QTest::keyClicks(w_->text8, QStringLiteral("."));
    QCOMPARE(w_->text8->text(), QStringLiteral("1.5"));
    QTest::keyClicks(w_->text8, QStringLiteral("7"));
    QCOMPARE(w_->text8->text(), QStringLiteral("7"));
  }

  void pastedTextIsFilteredLikeTyping() {
    open();
    layOutLp();
    typeAt(2, 1, QStringLiteral("1."));
    QGuiApplication::clipboard()->setText(QStringLiteral("2a.5-x-3"));
    QTest::keyClick(w_->text8, Qt::Key_V, Qt::ControlModifier);
    QCOMPARE(w_->text8->text(), QStringLiteral("1.25-3"));
    QCOMPARE(platform_->beeps, 1);
    QCOMPARE(cell(2, 1), QStringLiteral("1.25-3"));
    // Input-method text passes the same filter.
    QInputMethodEvent input;
    input.setCommitString(QStringLiteral("六7"));
    QApplication::sendEvent(w_->text8, &input);
    QCOMPARE(w_->text8->text(), QStringLiteral("1.25-37"));
    QCOMPARE(platform_->beeps, 2);
  }

  void aQueuedKeyForAClosedEditorIsDropped() {
    open();
    layOutLp();
    w_->grid->setText(3, 1, QStringLiteral("8"));
    clickCell(2, 1);
    QTest::keyClick(w_->grid, Qt::Key_5);
    // The editor closes before the forwarded key is delivered.
    QTest::keyClick(w_->text8, Qt::Key_Return);
    w_->grid->setCurrentCell(3, 1);
    settle();
    QCOMPARE(cell(3, 1), QStringLiteral("8"));
    QCOMPARE(cell(2, 1), QString());
  }

  // Commits ---------------------------------------------------------------

  void theCommitNormalisesALeadingOrTrailingPoint() {
    open();
    layOutLp();
    const std::pair<const char*, const char*> cases[] = {
        {".", "0."}, {".5", "0.5"}, {"5.", "5.0"}, {"-.5", "-.5"}, {"-", "-"}, {"5-", "5-"}};
    for (const auto& [typed, stored] : cases) {
      typeAt(2, 1, QString::fromLatin1(typed));
      QTest::keyClick(w_->text8, Qt::Key_Return);
      QVERIFY(!w_->text8->isVisible());
      QCOMPARE(cell(2, 1), QString::fromLatin1(stored));
      w_->grid->setText(2, 1, QString());
    }
    // An emptied cell stays empty.
    w_->grid->setText(2, 2, QStringLiteral("9"));
    typeAt(2, 2, QStringLiteral("\b"));
    QTest::keyClick(w_->text8, Qt::Key_Return);
    QCOMPARE(cell(2, 2), QString());
  }

  void enterKeepsTheCellUpAndDownMoveOneRow() {
    open();
    layOutLp();
    typeAt(2, 2, QStringLiteral("3"));
    QTest::keyClick(w_->text8, Qt::Key_Return);
    QVERIFY(w_->grid->hasFocus());
    QCOMPARE(w_->grid->currentRow(), 2);
    QTest::keyClick(w_->grid, Qt::Key_Return);
    QTest::keyClicks(w_->text8, QStringLiteral("1"));
    QTest::keyClick(w_->text8, Qt::Key_Down);
    // The value is in its cell before the grid moves, and the move is
    // queued behind the handler.
    QCOMPARE(cell(2, 2), QStringLiteral("31"));
    QCOMPARE(w_->grid->currentRow(), 2);
    settle();
    QCOMPARE(w_->grid->currentRow(), 3);
    QVERIFY(!w_->text8->isVisible());
    QVERIFY(w_->grid->hasFocus());
    QTest::keyClicks(w_->grid, QStringLiteral("8"));
    settle();
    QTest::keyClick(w_->text8, Qt::Key_Up, Qt::ShiftModifier);
    settle();
    QCOMPARE(cell(3, 2), QStringLiteral("8"));
    QCOMPARE(w_->grid->currentRow(), 2);
  }

  void aButtonSeesTheEditedValueWhenPressed() {
    open();
    layOutLp();
    QString seen;
    connect(w_->button, &QPushButton::clicked, this, [&] { seen = w_->grid->text(2, 4); });
    typeAt(2, 4, QStringLiteral("4."));
    QTest::mouseClick(w_->button, Qt::LeftButton);
    QCOMPARE(seen, QStringLiteral("4.0"));
    QVERIFY(!w_->text8->isVisible());
  }

  void clickingAnotherCellCommitsFirst() {
    open();
    layOutLp();
    typeAt(2, 1, QStringLiteral(".25"));
    clickCell(3, 2);
    QCOMPARE(cell(2, 1), QStringLiteral("0.25"));
    QCOMPARE(cell(3, 2), QString());
    QCOMPARE(w_->grid->currentRow(), 3);
    QCOMPARE(w_->grid->currentCol(), 2);
  }

  // The drop-down ---------------------------------------------------------

  void choosingASignWritesItWithItsBlanks() {
    open();
    layOutLp();
    clickCell(2, 3);
    w_->combo3->setFocus(Qt::MouseFocusReason);
    w_->combo3->setCurrentIndex(0);
    QTest::keyClick(w_->combo3, Qt::Key_Down);  // chooses " ≤ "
    QCOMPARE(cell(2, 3), QStringLiteral(" ≤ "));
    QVERIFY(!w_->combo3->isVisible());
    QVERIFY(w_->grid->hasFocus());
    // From the list itself.
    clickCell(3, 3);
    w_->combo3->showPopup();
    QAbstractItemView* list = w_->combo3->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    list->setCurrentIndex(list->model()->index(2, 0));
    QTest::keyClick(list, Qt::Key_Return);
    settle();
    QCOMPARE(cell(3, 3), QStringLiteral(" ═ "));
    QVERIFY(!w_->combo3->isVisible());
    QCOMPARE(w_->combo3->count(), 3);
  }

  void theListOpensAndChoosesWithTheMouse() {
    // The first opening of the list moves the focus into it before it is
    // known as a popup: the drop-down must stay open for the choice.
    open();
    layOutLp();
    clickCell(3, 3);
    QComboBox* combo = w_->combo3;
    QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(combo->width() - 4, combo->height() / 2));
    QVERIFY(combo->isVisible());
    QAbstractItemView* list = combo->view();
    QVERIFY(QTest::qWaitForWindowExposed(list->window()));
    const QPoint at = list->visualRect(list->model()->index(1, 0)).center();
    QTest::mouseMove(list->viewport(), at);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
    settle();
    QCOMPARE(cell(3, 3), QStringLiteral(" ≤ "));
    QVERIFY(!combo->isVisible());
    QVERIFY(!list->isVisible());
  }

  void typedSignTextIsWrittenUnchangedOnFocusLoss() {
    open();
    layOutLp();
    clickCell(4, 3);
    QTest::mouseClick(w_->combo3->lineEdit(), Qt::LeftButton);
    QVERIFY(w_->combo3->hasFocus());
    w_->combo3->lineEdit()->clear();
    QTest::keyClicks(w_->combo3, QStringLiteral("le q"));
    QTest::mouseClick(w_->button, Qt::LeftButton);
    QCOMPARE(cell(4, 3), QStringLiteral("le q"));
    QVERIFY(!w_->combo3->isVisible());
    QCOMPARE(w_->combo3->count(), 3);
    QCOMPARE(platform_->beeps, 0);
    // Enter in the drop-down commits and hands the focus to the grid.
    clickCell(3, 3);
    QTest::mouseClick(w_->combo3->lineEdit(), Qt::LeftButton);
    QTest::keyClicks(w_->combo3, QStringLiteral("x"));
    QTest::keyClick(w_->combo3, Qt::Key_Return);
    QVERIFY(w_->grid->hasFocus());
    QVERIFY(!w_->combo3->isVisible());
    QVERIFY(cell(3, 3).endsWith(QLatin1Char('x')));
    QCOMPARE(w_->combo3->count(), 3);
  }

  void anUnfocusedDropDownFollowsClicksOnSignCellsOnly() {
    open();
    layOutLp();
    w_->grid->setText(2, 3, QStringLiteral(" ≥ "));
    clickCell(2, 3);
    // Another sign cell: the drop-down moves there with the recorded cell.
    clickCell(4, 3);
    QVERIFY(w_->combo3->isVisible());
    QCOMPARE(w_->combo3->y(), w_->grid->y() + w_->grid->cellRect(4, 3).y());
    QCOMPARE(w_->editing->gRow(), 4);
    // A number cell: it closes and writes nothing.
    clickCell(3, 1);
    QVERIFY(!w_->combo3->isVisible());
    QCOMPARE(cell(4, 3), QString());
    QCOMPARE(cell(3, 1), QString());
    QCOMPARE(cell(2, 3), QStringLiteral(" ≥ "));
    // A key on a number cell: the text editor replaces it, no commit.
    clickCell(2, 3);
    QTest::keyClick(w_->grid, Qt::Key_Left);
    QTest::keyClick(w_->grid, Qt::Key_Return);
    QVERIFY(!w_->combo3->isVisible());
    QVERIFY(w_->text8->isVisible());
    QCOMPARE(cell(2, 2), QString());
  }

  void arrowsLeaveAShowingDropDownItsText() {
    open();
    layOutLp();
    w_->grid->setText(2, 3, QStringLiteral(" ≥ "));
    w_->grid->setText(3, 3, QStringLiteral(" ≤ "));
    clickCell(2, 3);
    QTest::keyClick(w_->grid, Qt::Key_Down);
    QCOMPARE(w_->combo3->currentText(), QStringLiteral(" ≥ "));
    // Focusing it and leaving writes its own cell's text back unchanged.
    QTest::mouseClick(w_->combo3->lineEdit(), Qt::LeftButton);
    QTest::mouseClick(w_->button, Qt::LeftButton);
    QCOMPARE(cell(2, 3), QStringLiteral(" ≥ "));
    QCOMPARE(cell(3, 3), QStringLiteral(" ≤ "));
    QCOMPARE(w_->grid->currentRow(), 3);
  }

  // Colours, scrolling, rebuilds ----------------------------------------

  void theHighlightFollowsTheGridsFocusAndCellChanges() {
    open();
    layOutLp();
    clickCell(2, 1);
    QCOMPARE(w_->grid->cellBackground(2, 1), kNavy);
    QCOMPARE(w_->grid->cellForeground(2, 1), QColor(Qt::white));
    QTest::keyClick(w_->grid, Qt::Key_Return);
    QCOMPARE(w_->grid->cellBackground(2, 1), QColor(Qt::white));
    QCOMPARE(w_->grid->cellForeground(2, 1), QColor(Qt::black));
    QTest::keyClick(w_->text8, Qt::Key_Return);
    QCOMPARE(w_->grid->cellBackground(2, 1), QColor(Qt::white));
    QTest::keyClick(w_->grid, Qt::Key_Right);
    QCOMPARE(w_->grid->cellBackground(2, 1), QColor(Qt::white));
    QCOMPARE(w_->grid->cellBackground(2, 2), kNavy);
    QCOMPARE(w_->grid->cellForeground(2, 2), QColor(Qt::white));
  }

  void enteringACellPreloadsTheMatchingEditor() {
    open();
    layOutLp();
    w_->grid->setText(2, 2, QStringLiteral("6.25"));
    w_->grid->setText(2, 3, QStringLiteral(" ≤ "));
    w_->grid->setCurrentCell(2, 2);
    QCOMPARE(w_->text8->text(), QStringLiteral("6.25"));
    QCOMPARE(w_->text8->selectedText(), QStringLiteral("6.25"));
    w_->grid->setCurrentCell(2, 3);
    QCOMPARE(w_->combo3->currentText(), QStringLiteral(" ≤ "));
    QCOMPARE(w_->combo3->lineEdit()->selectionStart(), 1);
    QCOMPARE(w_->combo3->lineEdit()->selectedText(), QStringLiteral("≤ "));
    QVERIFY(!w_->text8->isVisible() && !w_->combo3->isVisible());
  }

  void scrollingHidesTheEditorsAfterTheCommit() {
    open();
    w_->grid->modifySheet([](Sheet& sheet) {
      orcalc::lp::LayOutSheet(sheet, 60, 60, orcalc::lp::Sense::Maximise);
    });
    typeAt(2, 2, QStringLiteral("9"));
    w_->grid->verticalScrollBar()->setValue(10);
    QVERIFY(!w_->text8->isVisible());
    QCOMPARE(cell(2, 2), QStringLiteral("9"));
    QVERIFY(w_->grid->hasFocus());
    w_->grid->setTopRow(1);
    clickCell(2, 61);
    QVERIFY(!w_->combo3->isVisible());  // column 61 is not drawn here yet
    w_->grid->setLeftCol(55);
    clickCell(2, 61);
    QVERIFY(w_->combo3->isVisible());
    w_->grid->setLeftCol(50);
    QVERIFY(!w_->combo3->isVisible());
    QCOMPARE(cell(2, 61), QString());
  }

  void closingBeforeARebuildCommitsAndDropsVanishedCells() {
    open();
    layOutLp();
    typeAt(4, 2, QStringLiteral("7"));
    w_->editing->closeEditors();
    QVERIFY(!w_->text8->isVisible());
    QCOMPARE(cell(4, 2), QStringLiteral("7"));
    QVERIFY(w_->grid->hasFocus());
    // A drop-down over a row that a rebuild removes: its commit is dropped.
    clickCell(4, 3);
    w_->grid->modifySheet([](Sheet& sheet) {
      orcalc::lp::LayOutSheet(sheet, 1, 1, orcalc::lp::Sense::Maximise);
    });
    QTest::mouseClick(w_->combo3->lineEdit(), Qt::LeftButton);
    w_->combo3->setCurrentIndex(0);
    QTest::keyClick(w_->combo3, Qt::Key_Down);
    QVERIFY(!w_->combo3->isVisible());
    QCOMPARE(w_->grid->rows(), 3);
    for (int r = 1; r < 3; ++r) {
      for (int c = 1; c < 4; ++c) QVERIFY(!cell(r, c).contains(QStringLiteral("≤")));
    }
  }

  void theRecordedCellStartsAtZero() {
    open();
    QCOMPARE(w_->editing->gRow(), 0);
    QCOMPARE(w_->editing->gCol(), 0);
    layOutLp();
    QTest::keyClick(w_->grid, Qt::Key_Down);
    QCOMPARE(w_->editing->gRow(), 0);
  }

  // On the sheet windows --------------------------------------------------

  void calculateReadsTheValueStillInTheEditor() {
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    SheetGrid* grid = form.MSFlexGrid1;
    form.Text2->setText(QStringLiteral("2"));
    form.Text1->setText(QStringLiteral("1"));
    form.Option1[0]->setChecked(true);
    QTest::mouseClick(form.Command1, Qt::LeftButton);
    grid->setText(1, 1, QStringLiteral("3"));
    grid->setText(1, 2, QStringLiteral("2"));
    grid->setText(2, 1, QStringLiteral("1"));
    grid->setText(2, 2, QStringLiteral("1"));
    grid->setText(2, 3, QStringLiteral(" ≤ "));
    // The constant is typed and still in the open editor when Calculate
    // is pressed.
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(2, 4).center());
    QTest::keyClicks(grid, QStringLiteral("4"));
    settle();
    QTest::keyClicks(form.Text8, QStringLiteral("."));
    QVERIFY(form.Text8->isVisible());
    QStringList reports;
    recordReports(*platform_, reports);
    QTest::mouseClick(form.Command2, Qt::LeftButton);
    QCOMPARE(reports.size(), 1);
    Sheet expected = grid->sheet();
    expected.SetCell(2, 4, "4.0");
    orcalc::lp::LpRequest request;
    request.variables = 2;
    request.constraints = 1;
    request.sense = orcalc::lp::Sense::Maximise;
    const auto outcome = orcalc::lp::Calculate(request, expected);
    QVERIFY(outcome.report.has_value());
    QCOMPARE(reports[0], QString::fromStdString(*outcome.report));
    QVERIFY(reports[0].contains(QStringLiteral("S = 12")));
  }

  void okClosesTheEditorsBeforeTheSheetIsRebuilt() {
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    SheetGrid* grid = form.MSFlexGrid1;
    form.Text2->setText(QStringLiteral("2"));
    form.Text1->setText(QStringLiteral("3"));
    QTest::mouseClick(form.Command1, Qt::LeftButton);
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(4, 2).center());
    QTest::keyClicks(grid, QStringLiteral("9"));
    settle();
    form.Text1->setText(QStringLiteral("1"));
    QTest::mouseClick(form.Command1, Qt::LeftButton);
    QVERIFY(!form.Text8->isVisible());
    QCOMPARE(grid->rows(), 3);
    // A drop-down over a sign cell closes too, writing nothing.
    QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(2, 3).center());
    QVERIFY(form.Combo3->isVisible());
    QTest::mouseClick(form.Command1, Qt::LeftButton);
    QVERIFY(!form.Combo3->isVisible());
    QCOMPARE(grid->text(2, 3), QString());
  }

  void theGoalSheetsDropDownColumnAndAFreshRecordedCell() {
    Form1 form;
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    int opened = 0;
    platform_->onModal = [&](QDialog* dialog) {
      auto* goal = qobject_cast<Form3*>(dialog);
      if (!goal) return;
      ++opened;
      QVERIFY(QTest::qWaitForWindowActive(goal));
      // Every window starts with the recorded cell at 0.
      QCOMPARE(goal->editing().gRow(), 0);
      QCOMPARE(goal->editing().gCol(), 0);
      goal->Text1->setText(QStringLiteral("2"));
      goal->Text2->setText(QStringLiteral("3"));
      QTest::mouseClick(goal->Command1, Qt::LeftButton);
      SheetGrid* grid = goal->MSFlexGrid1;
      const int cols = grid->cols();
      QCOMPARE(cols, 10);
      QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(2, cols - 6).center());
      QVERIFY(goal->Combo3->isVisible());
      QCOMPARE(goal->editing().gCol(), cols - 6);
      for (int col = cols - 5; col < cols; ++col) {
        grid->scrollToCell(2, col);
        QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(2, col).center());
        QVERIFY(!goal->Combo3->isVisible());
        QTest::keyClicks(grid, QStringLiteral("1"));
        settle();
        QVERIFY(goal->Text8->isVisible());
        QTest::keyClick(goal->Text8, Qt::Key_Return);
        QCOMPARE(grid->text(2, col), QStringLiteral("1"));
      }
    };
    QTest::mouseClick(form.Command4, Qt::LeftButton);
    QTest::mouseClick(form.Command4, Qt::LeftButton);
    QCOMPARE(opened, 2);
  }

  void loadingTheItemsTwiceKeepsThree() {
    open();
    w_->editing->loadItems();
    QCOMPARE(w_->combo3->count(), 3);
    QCOMPARE(w_->combo3->itemText(0), QStringLiteral(" ≥ "));
    QCOMPARE(w_->combo3->itemText(1), QStringLiteral(" ≤ "));
    QCOMPARE(w_->combo3->itemText(2), QStringLiteral(" ═ "));
  }
};

QTEST_MAIN(CellEditingTest)
#include "cell_editing_test.moc"
