// The coefficient grid: shows a Sheet with one fixed header row and column
// and offers what the sheet windows need of a grid control.
#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <QString>
#include <QWidget>
#include <functional>
#include <memory>

#include "common/sheet.h"
#include "sheet/typed_key.h"

class QScrollBar;

namespace orcalc::ui {

class SheetGridPrivate;

// The grid is a view over the plain Sheet data (no widget or item object per
// cell); a 502 x 503 sheet lays out and scrolls without a visible pause.
class SheetGrid : public QWidget {
  Q_OBJECT

 public:
  explicit SheetGrid(QWidget* parent = nullptr);
  ~SheetGrid() override;

  // The data. modifySheet runs `change` on the sheet and then refreshes the
  // view (counts, texts, column widths); the current cell is kept within
  // the new counts.
  const Sheet& sheet() const;
  void modifySheet(const std::function<void(Sheet&)>& change);

  int rows() const;
  int cols() const;

  // Cell text by row and column (empty outside the sheet; writes outside it
  // are ignored) and of the current cell.
  QString text(int row, int col) const;
  void setText(int row, int col, const QString& text);
  QString currentText() const;
  void setCurrentText(const QString& text);

  // The current cell (a non-fixed cell while the sheet has one). Setting it
  // moves the current cell, with leaveCell and enterCell.
  int currentRow() const;
  int currentCol() const;
  void setCurrentCell(int row, int col);

  // The selected block, from the current cell to the selection's other
  // corner (the current cell alone unless Shift+arrow keys, Shift+click, a
  // drag or selectAll made it larger): x and width count columns, y and
  // height rows. Header cells are never selected; a plain click or arrow
  // key (any move of the current cell) collapses the block.
  QRect selection() const;
  // Moves the other corner to (row, col), kept within the data cells; the
  // current cell stays.
  void extendSelection(int row, int col);
  // The first data cell becomes current and every data cell is selected.
  void selectAll();

  // The current cell's rectangle within the grid widget, in pixels.
  QRect currentCellRect() const;
  // Any cell's rectangle within the grid widget (for tests and placement).
  QRect cellRect(int row, int col) const;
  // The part of the grid widget the cells are drawn in: all of it less the
  // scroll bars that show.
  QRect cellArea() const;

  // Per-cell colours; they stay on the cell until changed.
  void setCurrentCellColors(const QColor& background, const QColor& foreground);
  QColor cellBackground(int row, int col) const;

  // Scroll so that (row, col) is fully visible; a cell larger than the
  // visible area shows from its top-left corner.
  void scrollToCell(int row, int col);

  // Width of a column whose width was never set (Sheet::kDefaultWidth).
  static constexpr int kDefaultColumnTwips = 960;

  // Whether (row, col) is a cell of the sheet outside the fixed header row
  // and column, and whether the current cell is one (a sheet of one row or
  // one column has none).
  bool isDataCell(int row, int col) const;
  bool hasCurrentDataCell() const;

  // The first scrolled row and column shown after the fixed ones; setting
  // them scrolls (with `scrolled` when they change).
  int topRow() const;
  int leftCol() const;
  void setTopRow(int row);
  void setLeftCol(int col);

  // Sizes in pixels: the one row height, a column's width.
  int rowHeight() const;
  int columnWidth(int col) const;

  // Any cell's colours (the current cell's through setCurrentCellColors).
  void setCellColors(int row, int col, const QColor& background, const QColor& foreground);

  QScrollBar* verticalScrollBar() const;
  QScrollBar* horizontalScrollBar() const;

  QSize sizeHint() const override;

 signals:
  void clicked();
  void doubleClicked();
  // A typed character (not arrow or other navigation keys).
  void keyPressed(orcalc::ui::KeyPress press);
  // After the new cell has become current.
  void enterCell();
  // The selected block changed.
  void selectionChanged();
  // While the old cell is still current (currentRow/currentCol give it).
  void leaveCell();
  void focusLost();
  void scrolled();

 protected:
  void focusOutEvent(QFocusEvent* event) override;
  void focusInEvent(QFocusEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void changeEvent(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  friend class SheetGridPrivate;
  std::unique_ptr<SheetGridPrivate> d_;
};

}  // namespace orcalc::ui
