// Steps the window tests share: places in twips, driving the grid and its
// editors, the example problem and its report, and what results windows showed.
#pragma once

#include <QtTest>
#include <QtWidgets>

#include "app/goal_window.h"
#include "app/lp_window.h"
#include "platform/twips.h"
#include "results/results_window.h"
#include "sheet/sheet_grid.h"
#include "support/recording_platform.h"

namespace orcalc::ui::testing {

// The windows keep their last sheets in the user's data folder; the tests'
// windows keep them in Qt's test folders instead.
inline const bool kTestDataFolders = [] {
  QStandardPaths::setTestModeEnabled(true);
  return true;
}();

// Maximise 3χ1 + 2χ2 under χ1 + χ2 ≤ 4 and χ1 + 3χ2 ≤ 6: its 20-line report.
inline const char* const kExampleReport =
    "---------线性规划计算结果---------\r\n变量数m=2\r\n约束方程数n=2\r\n"
    "目标函数去极大值：p=1\r\n----------------------------------\r\n\r\n"
    "目标函数为:\r\n Max z = 3χ1 + 2χ2 \r\n\r\n\r\n约束方程如下:\r\n"
    "1*χ1 +  1*χ2 ≤  4\r\n1*χ1 +  3*χ2 ≤  6\r\n\r\n\r\n目标函数值 S = 12\r\n\r\n"
    "各变量最优解如下:\r\nχ1 =  4\r\nχ2 =  0\r\n";

inline QRect twips(const QWidget* w) {
  return {pixelsToTwipsX(w->x(), w), pixelsToTwipsY(w->y(), w), pixelsToTwipsX(w->width(), w),
          pixelsToTwipsY(w->height(), w)};
}

// Sets the count boxes (variables; constraints or goals) and presses OK.
inline void layOut(SheetWindow& form, int variables, int rows) {
  form.variableCountBox()->setText(QString::number(variables));
  form.constraintCountBox()->setText(QString::number(rows));
  form.ok();
}

// Writes rows of texts into the grid from row 1, column 1.
inline void setCells(SheetGrid* grid, const QList<QStringList>& rows) {
  for (int r = 0; r < rows.size(); ++r)
    for (int c = 0; c < rows[r].size(); ++c) grid->setText(r + 1, c + 1, rows[r][c]);
}

// The example above, typed into the window.
inline void fillExample(LpWindow& form) {
  form.maximumOption()->setChecked(true);
  layOut(form, 2, 2);
  setCells(form.grid(), {{"3", "2"}, {"1", "1", " ≤ ", "4"}, {"1", "3", " ≤ ", "6"}});
}

// Two goals over two variables.
inline void fillGoals(GoalWindow& form) {
  layOut(form, 2, 2);
  setCells(form.grid(), {{"1", "1", " ≤ ", "4", "1", "1", "0", "0"},
                         {"1", "3", " ≥ ", "6", "0", "0", "2", "2"}});
}

inline void showActive(QWidget* window) {
  window->show(), window->activateWindow();
  QVERIFY(QTest::qWaitForWindowActive(window));
}

// Lets queued key presses arrive.
inline void settle() {
  for (int i = 0; i < 2; ++i) QCoreApplication::processEvents();
}

inline void clickCell(SheetGrid* grid, int row, int col) {
  QTest::mouseClick(grid, Qt::LeftButton, {}, grid->cellRect(row, col).center());
}

// Types into whatever has the focus, one key at a time, as a user would.
inline void type(const QString& keys) {
  for (QChar ch : keys) QTest::keyClicks(QApplication::focusWidget(), QString(ch)), settle();
}

// Opens the drop-down's list with a click on its arrow and clicks `item`;
// false when the list did not come up. It does not always: a click on the
// arrow of a window that has no focus widget (on the offscreen platform,
// after a modal window closed) hides the drop-down instead.
inline bool chooseFromList(QComboBox* combo, int item) {
  QTest::mouseClick(combo, Qt::LeftButton, {}, QPoint(combo->width() - 4, combo->height() / 2));
  QAbstractItemView* list = combo->view();
  QWidget* popup = list->window();
  if (!QTest::qWaitFor([&] { return popup->isVisible() || combo->isHidden(); }, 1000) ||
      !popup->isVisible() || !QTest::qWaitForWindowExposed(popup, 1000))
    return false;
  const QPoint at = list->visualRect(list->model()->index(item, 0)).center();
  QTest::mouseMove(list->viewport(), at);
  QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, at);
  settle();
  return true;
}

inline QByteArray gb18030(const std::string& utf8) {
  return QStringEncoder("GB18030").encode(QString::fromStdString(utf8));
}

inline QByteArray readFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

inline bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// A folder's entries, hidden ones included (a temporary file left behind shows).
inline QStringList entries(const QString& folder) {
  return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
}

// The title and report of each results window shown.
struct Shown {
  QString title;
  std::string text;
};

inline void recordResults(RecordingPlatform& platform, QList<Shown>& shown) {
  platform.onModal = [&shown](QDialog* dialog) {
    if (auto* form = qobject_cast<ResultsWindow*>(dialog))
      shown << Shown{form->windowTitle(), form->reportBytes().toStdString()};
  };
}

}  // namespace orcalc::ui::testing
