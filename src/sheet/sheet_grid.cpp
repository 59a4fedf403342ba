#include "sheet/sheet_grid.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QStyle>
#include <QWheelEvent>
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <unordered_map>
#include <vector>

#include "platform/twips.h"
#include "sheet/grid_geometry.h"
#include "sheet/sheet_font.h"
#include "sheet/typed_key.h"

namespace orcalc::ui {
namespace {

// Cells outside the fixed row and column that were never coloured: white
// with black text. The area beyond the last cell: the grid's dark backdrop.
const QColor kCellBackground(255, 255, 255);
const QColor kCellForeground(0, 0, 0);
const QColor kBackdrop(128, 128, 128);
const QColor kGridLine(192, 192, 192);
const QColor kFixedGridLine(0, 0, 0);
// Selected cells other than the current one.
const QColor kSelectionBackground(204, 228, 247);
constexpr int kTextPadding = 2;  // pixels left of a cell's text
constexpr int kWheelRows = 3;

struct CellColors {
  QColor background;
  QColor foreground;
};

std::uint64_t cellKey(int row, int col) {
  return (static_cast<std::uint64_t>(static_cast<std::uint32_t>(row)) << 32) |
         static_cast<std::uint32_t>(col);
}

}  // namespace

class SheetGridPrivate {
 public:
  explicit SheetGridPrivate(SheetGrid* q) : q_(q) {}

  SheetGrid* q_;
  Sheet sheet_;
  GridGeometry geometry_;
  int current_row_ = 1;
  int current_col_ = 1;
  std::unordered_map<std::uint64_t, CellColors> colors_;
  QScrollBar* vbar_ = nullptr;
  QScrollBar* hbar_ = nullptr;
  bool updating_bars_ = false;
  bool click_pending_ = false;
  // The selection's other corner (the current cell when nothing more is
  // selected), and whether a press of the left button is dragging it.
  int corner_row_ = 1;
  int corner_col_ = 1;
  bool dragging_ = false;
  // Whether the last mouse press chose a cell, and whether the view
  // scrolled since (a click on a partly visible cell may bring it into
  // view).
  bool pressed_cell_ = false;
  bool scrolled_since_press_ = false;

  int rows() const { return sheet_.rows(); }
  int cols() const { return sheet_.cols(); }
  int fixedRows() const { return rows() > 0 ? 1 : 0; }
  int fixedCols() const { return cols() > 0 ? 1 : 0; }
  int topRow() const { return geometry_.topRow(); }
  int leftCol() const { return geometry_.leftCol(); }

  // The area the cells are drawn in (the widget less its scroll bars).
  QRect cellArea() const {
    int w = q_->width();
    int h = q_->height();
    if (vbar_->isVisibleTo(q_)) w -= vbar_->sizeHint().width();
    if (hbar_->isVisibleTo(q_)) h -= hbar_->sizeHint().height();
    return QRect(0, 0, std::max(w, 0), std::max(h, 0));
  }

  // Where a navigation key takes the current cell, a page being the rows
  // in view (Home and End go to the row's ends, with Control to the
  // sheet's corners); none for any other key.
  std::optional<GridCell> navigationTarget(int key, bool control) const {
    const int page = std::max(geometry_.visibleRows(cellArea().height()), 1);
    GridCell to{current_row_, current_col_};
    switch (key) {
      case Qt::Key_Up:
        --to.row;
        break;
      case Qt::Key_Down:
        ++to.row;
        break;
      case Qt::Key_Left:
        --to.col;
        break;
      case Qt::Key_Right:
        ++to.col;
        break;
      case Qt::Key_PageUp:
        to.row -= page;
        break;
      case Qt::Key_PageDown:
        to.row += page;
        break;
      case Qt::Key_Home:
        to.col = geometry_.firstCol();
        if (control) to.row = geometry_.firstRow();
        break;
      case Qt::Key_End:
        to.col = geometry_.lastCol();
        if (control) to.row = geometry_.lastRow();
        break;
      default:
        return std::nullopt;
    }
    return to;
  }

  void recomputeColumns() {
    const int n = cols();
    std::vector<int> widths(static_cast<std::size_t>(n), 0);
    const int default_px = twipsToPixelsX(SheetGrid::kDefaultColumnTwips, q_);
    for (int c = 0; c < n; ++c) {
      const int twips = sheet_.ColumnWidth(c);
      widths[static_cast<std::size_t>(c)] =
          twips == Sheet::kDefaultWidth ? default_px : std::max(twipsToPixelsX(twips, q_), 0);
    }
    geometry_.setRows(rows());
    geometry_.setColumnWidths(widths);
  }

  void recomputeRowHeight() {
    const QFontMetrics metrics(q_->font());
    geometry_.setRowHeight(std::max(metrics.height() + 4, twipsToPixelsY(240, q_)));
  }

  // Shows the scroll bars the sheet needs and sets their ranges.
  void updateScrollBars() {
    updating_bars_ = true;
    const QSize full = q_->size();
    const QSize bar(vbar_->sizeHint().width(), hbar_->sizeHint().height());
    const GridGeometry::Bars need = geometry_.barsNeeded(full, bar);
    const int area_w = std::max(full.width() - (need.vertical ? bar.width() : 0), 0);
    const int area_h = std::max(full.height() - (need.horizontal ? bar.height() : 0), 0);
    vbar_->setVisible(need.vertical);
    hbar_->setVisible(need.horizontal);
    vbar_->setGeometry(area_w, 0, bar.width(), area_h);
    hbar_->setGeometry(0, area_h, area_w, bar.height());
    vbar_->setRange(geometry_.firstRow(), geometry_.maxTopRow(area_h));
    vbar_->setPageStep(std::max(geometry_.visibleRows(area_h), 1));
    hbar_->setRange(geometry_.firstCol(), geometry_.maxLeftCol(area_w));
    hbar_->setPageStep(std::max(geometry_.visibleCols(area_w), 1));
    updating_bars_ = false;
    setScroll(topRow(), leftCol());
  }

  // Moves the scroll position (clamped to the bars' ranges).
  void setScroll(int top, int left) {
    top = std::clamp(top, vbar_->minimum(), std::max(vbar_->minimum(), vbar_->maximum()));
    left = std::clamp(left, hbar_->minimum(), std::max(hbar_->minimum(), hbar_->maximum()));
    const bool changed = top != topRow() || left != leftCol();
    geometry_.setScroll(top, left);
    updating_bars_ = true;
    vbar_->setValue(top);
    hbar_->setValue(left);
    updating_bars_ = false;
    if (changed) {
      scrolled_since_press_ = true;
      q_->update();
      emit q_->scrolled();
    }
  }

  void ensureVisible(int row, int col) {
    const GridCell scroll = geometry_.scrollToShow(row, col, cellArea().size());
    setScroll(scroll.row, scroll.col);
  }

  // Makes (row, col) current: leaveCell while the old cell is current, then
  // enterCell. Nothing is reported when the cell stays the same.
  void moveCurrent(int row, int col) {
    row = std::clamp(row, geometry_.firstRow(), geometry_.lastRow());
    col = std::clamp(col, geometry_.firstCol(), geometry_.lastCol());
    setCorner(row, col);
    if (row == current_row_ && col == current_col_) return;
    emit q_->leaveCell();
    const QRect old_rect = q_->currentCellRect();
    current_row_ = row;
    current_col_ = col;
    q_->update(old_rect);
    q_->update(q_->currentCellRect());
    emit q_->enterCell();
  }

  bool hasBlock() const { return corner_row_ != current_row_ || corner_col_ != current_col_; }

  QRect selection() const {
    const int top = std::min(current_row_, corner_row_);
    const int left = std::min(current_col_, corner_col_);
    return QRect(left, top, std::abs(corner_col_ - current_col_) + 1,
                 std::abs(corner_row_ - current_row_) + 1);
  }

  // Moves the selection's other corner; repaints the cells that change.
  void setCorner(int row, int col) {
    if (row == corner_row_ && col == corner_col_) return;
    const bool had_block = hasBlock();
    corner_row_ = row;
    corner_col_ = col;
    if (had_block || hasBlock()) q_->update();
    emit q_->selectionChanged();
  }

  void paintCell(QPainter& painter, int row, int col, const QRect& rect) {
    const bool fixed = row < fixedRows() || col < fixedCols();
    QColor background = fixed ? q_->palette().color(QPalette::Button) : kCellBackground;
    QColor foreground = fixed ? q_->palette().color(QPalette::ButtonText) : kCellForeground;
    if (!fixed) {
      auto it = colors_.find(cellKey(row, col));
      if (it != colors_.end()) {
        background = it->second.background;
        foreground = it->second.foreground;
      }
      if (hasBlock() && selection().contains(col, row) &&
          (row != current_row_ || col != current_col_)) {
        background = kSelectionBackground;
        foreground = kCellForeground;
      }
    }
    painter.fillRect(rect, background);
    painter.setPen(fixed ? kFixedGridLine : kGridLine);
    painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
    painter.drawLine(rect.left(), rect.bottom(), rect.right(), rect.bottom());
    const std::string& text = sheet_.Cell(row, col);
    if (!text.empty()) {
      const QRect text_rect = rect.adjusted(kTextPadding, 0, -1, -1);
      painter.save();
      painter.setClipRect(text_rect);
      painter.setPen(foreground);
      painter.drawText(text_rect, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                       QString::fromStdString(text));
      painter.restore();
    }
    if (!fixed && row == current_row_ && col == current_col_ && q_->hasFocus()) {
      QPen pen(foreground.lightness() > 128 ? Qt::white : Qt::black);
      pen.setStyle(Qt::DotLine);
      painter.setPen(pen);
      painter.drawRect(rect.adjusted(0, 0, -2, -2));
    }
  }
};

SheetGrid::SheetGrid(QWidget* parent)
    : QWidget(parent), d_(std::make_unique<SheetGridPrivate>(this)) {
  setFocusPolicy(Qt::StrongFocus);
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAutoFillBackground(false);
  d_->vbar_ = new QScrollBar(Qt::Vertical, this);
  d_->hbar_ = new QScrollBar(Qt::Horizontal, this);
  for (QScrollBar* bar : {d_->vbar_, d_->hbar_}) {
    bar->setFocusPolicy(Qt::NoFocus);
    bar->hide();
    bar->installEventFilter(this);
  }
  connect(d_->vbar_, &QScrollBar::valueChanged, this, [this](int value) {
    if (!d_->updating_bars_) d_->setScroll(value, d_->leftCol());
  });
  connect(d_->hbar_, &QScrollBar::valueChanged, this, [this](int value) {
    if (!d_->updating_bars_) d_->setScroll(d_->topRow(), value);
  });
  // The font change already lays the grid out, so the column edges must
  // exist before it.
  d_->recomputeColumns();
  setFont(sheetFont());
  d_->recomputeRowHeight();
  d_->recomputeColumns();
  d_->updateScrollBars();
}

SheetGrid::~SheetGrid() = default;

const Sheet& SheetGrid::sheet() const { return d_->sheet_; }

void SheetGrid::modifySheet(const std::function<void(Sheet&)>& change) {
  change(d_->sheet_);
  // Colours stay on the cells that still exist.
  const int rows = d_->rows();
  const int cols = d_->cols();
  for (auto it = d_->colors_.begin(); it != d_->colors_.end();) {
    const int r = static_cast<int>(it->first >> 32);
    const int c = static_cast<int>(it->first & 0xffffffffu);
    if (r >= rows || c >= cols)
      it = d_->colors_.erase(it);
    else
      ++it;
  }
  d_->recomputeColumns();
  d_->updateScrollBars();
  d_->moveCurrent(d_->current_row_, d_->current_col_);
  update();
}

int SheetGrid::rows() const { return d_->rows(); }
int SheetGrid::cols() const { return d_->cols(); }

QString SheetGrid::text(int row, int col) const {
  return QString::fromStdString(d_->sheet_.Cell(row, col));
}

void SheetGrid::setText(int row, int col, const QString& text) {
  if (!d_->sheet_.Contains(row, col)) return;
  d_->sheet_.SetCell(row, col, text.toStdString());
  update(cellRect(row, col));
}

QString SheetGrid::currentText() const { return text(d_->current_row_, d_->current_col_); }

void SheetGrid::setCurrentText(const QString& text) {
  setText(d_->current_row_, d_->current_col_, text);
}

int SheetGrid::currentRow() const { return d_->current_row_; }
int SheetGrid::currentCol() const { return d_->current_col_; }
void SheetGrid::setCurrentCell(int row, int col) { d_->moveCurrent(row, col); }

QRect SheetGrid::selection() const { return d_->selection(); }

void SheetGrid::extendSelection(int row, int col) {
  d_->setCorner(std::clamp(row, d_->geometry_.firstRow(), d_->geometry_.lastRow()),
                std::clamp(col, d_->geometry_.firstCol(), d_->geometry_.lastCol()));
}

void SheetGrid::selectAll() {
  d_->moveCurrent(d_->geometry_.firstRow(), d_->geometry_.firstCol());
  extendSelection(d_->geometry_.lastRow(), d_->geometry_.lastCol());
}

QRect SheetGrid::currentCellRect() const { return cellRect(d_->current_row_, d_->current_col_); }

QRect SheetGrid::cellRect(int row, int col) const { return d_->geometry_.cellRect(row, col); }

QRect SheetGrid::cellArea() const { return d_->cellArea(); }

void SheetGrid::setCurrentCellColors(const QColor& background, const QColor& foreground) {
  setCellColors(d_->current_row_, d_->current_col_, background, foreground);
}

void SheetGrid::setCellColors(int row, int col, const QColor& background,
                              const QColor& foreground) {
  if (!isDataCell(row, col)) return;
  d_->colors_[cellKey(row, col)] = CellColors{background, foreground};
  update(cellRect(row, col));
}

QColor SheetGrid::cellBackground(int row, int col) const {
  auto it = d_->colors_.find(cellKey(row, col));
  if (it != d_->colors_.end()) return it->second.background;
  return isDataCell(row, col) ? kCellBackground : palette().color(QPalette::Button);
}

void SheetGrid::scrollToCell(int row, int col) { d_->ensureVisible(row, col); }

bool SheetGrid::isDataCell(int row, int col) const {
  return row >= 1 && col >= 1 && row < d_->rows() && col < d_->cols();
}

bool SheetGrid::hasCurrentDataCell() const {
  return isDataCell(d_->current_row_, d_->current_col_);
}

int SheetGrid::topRow() const { return d_->topRow(); }
int SheetGrid::leftCol() const { return d_->leftCol(); }
void SheetGrid::setTopRow(int row) { d_->setScroll(row, d_->leftCol()); }
void SheetGrid::setLeftCol(int col) { d_->setScroll(d_->topRow(), col); }

int SheetGrid::rowHeight() const { return d_->geometry_.rowHeight(); }

int SheetGrid::columnWidth(int col) const { return d_->geometry_.columnWidth(col); }

QScrollBar* SheetGrid::verticalScrollBar() const { return d_->vbar_; }
QScrollBar* SheetGrid::horizontalScrollBar() const { return d_->hbar_; }

QSize SheetGrid::sizeHint() const { return QSize(400, 300); }

void SheetGrid::focusOutEvent(QFocusEvent* event) {
  QWidget::focusOutEvent(event);
  update(currentCellRect());
  // A popup (a context menu, a drop-down list) borrows the focus only for
  // a moment; everything else is a real loss of focus.
  if (event->reason() != Qt::PopupFocusReason) emit focusLost();
}

void SheetGrid::focusInEvent(QFocusEvent* event) {
  QWidget::focusInEvent(event);
  update(currentCellRect());
}

void SheetGrid::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  d_->updateScrollBars();
}

void SheetGrid::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() == QEvent::FontChange && d_ && d_->vbar_) {
    d_->recomputeRowHeight();
    d_->updateScrollBars();
    update();
  }
}

void SheetGrid::paintEvent(QPaintEvent* event) {
  QPainter painter(this);
  const QRect area = d_->cellArea();
  painter.fillRect(event->rect(), kBackdrop);
  painter.setClipRect(area & event->rect());
  const QRect dirty = event->rect() & area;
  if (dirty.isEmpty()) return;

  // The rows and columns on screen: the fixed ones, then the scrolled ones
  // from the top row and left column to the edge of the area.
  std::vector<int> rows;
  if (d_->rows() > 0) rows.push_back(0);
  for (int r = d_->topRow(); r > 0 && r < d_->rows() && d_->geometry_.cellY(r) < area.bottom() + 1;
       ++r) {
    rows.push_back(r);
  }
  std::vector<int> cols;
  if (d_->cols() > 0) cols.push_back(0);
  for (int c = d_->leftCol(); c > 0 && c < d_->cols() && d_->geometry_.cellX(c) < area.right() + 1;
       ++c) {
    cols.push_back(c);
  }
  for (int r : rows) {
    const int y = d_->geometry_.cellY(r);
    if (y > dirty.bottom() || y + d_->geometry_.rowHeight() <= dirty.top()) continue;
    for (int c : cols) {
      const QRect rect(d_->geometry_.cellX(c), y, d_->geometry_.columnWidth(c),
                       d_->geometry_.rowHeight());
      if (rect.width() <= 0 || !rect.intersects(dirty)) continue;
      // Scrolled cells never reach under the fixed row and column.
      if (r > 0 && y < d_->geometry_.fixedHeight()) continue;
      if (c > 0 && rect.x() < d_->geometry_.fixedWidth()) continue;
      d_->paintCell(painter, r, c, rect);
    }
  }
}

void SheetGrid::mousePressEvent(QMouseEvent* event) {
  d_->click_pending_ = false;
  d_->pressed_cell_ = false;
  d_->scrolled_since_press_ = false;
  if (event->button() != Qt::LeftButton) {
    QWidget::mousePressEvent(event);
    return;
  }
  const std::optional<GridCell> cell =
      d_->geometry_.cellAt(event->position().toPoint(), d_->cellArea());
  if (!cell || !isDataCell(cell->row, cell->col)) return;
  const auto [row, col] = *cell;
  if (event->modifiers() & Qt::ShiftModifier) {
    // Shift+click selects from the current cell to the one clicked.
    extendSelection(row, col);
    d_->dragging_ = true;
    return;
  }
  // A click never scrolls: a second click of a double-click must land on
  // the same cell as the first.
  d_->moveCurrent(row, col);
  d_->click_pending_ = true;
  d_->pressed_cell_ = true;
  d_->dragging_ = true;
}

void SheetGrid::mouseMoveEvent(QMouseEvent* event) {
  if (!d_->dragging_ || !(event->buttons() & Qt::LeftButton)) {
    QWidget::mouseMoveEvent(event);
    return;
  }
  // Dragging selects from the current cell to the cell under the pointer
  // (the header row and column count as the first data row and column).
  if (const std::optional<GridCell> cell =
          d_->geometry_.cellAt(event->position().toPoint(), d_->cellArea()))
    extendSelection(cell->row, cell->col);
}

void SheetGrid::mouseReleaseEvent(QMouseEvent* event) {
  if (event->button() == Qt::LeftButton) d_->dragging_ = false;
  // A drag that selected a block is no click on a cell.
  if (d_->hasBlock()) d_->click_pending_ = false;
  if (event->button() != Qt::LeftButton || !d_->click_pending_) {
    QWidget::mouseReleaseEvent(event);
    return;
  }
  d_->click_pending_ = false;
  emit clicked();
}

void SheetGrid::mouseDoubleClickEvent(QMouseEvent* event) {
  d_->click_pending_ = false;
  if (event->button() != Qt::LeftButton) return;
  // When the first click brought its cell into view, the second lands
  // where the view moved, not on that cell: the double-click is the first
  // click's.
  if (d_->pressed_cell_ && d_->scrolled_since_press_) {
    if (hasCurrentDataCell()) emit doubleClicked();
    return;
  }
  const std::optional<GridCell> cell =
      d_->geometry_.cellAt(event->position().toPoint(), d_->cellArea());
  if (!cell || !isDataCell(cell->row, cell->col)) return;
  const auto [row, col] = *cell;
  d_->moveCurrent(row, col);
  emit doubleClicked();
}

void SheetGrid::keyPressEvent(QKeyEvent* event) {
  const bool control = event->modifiers() & Qt::ControlModifier;
  if (const std::optional<GridCell> to = d_->navigationTarget(event->key(), control)) {
    if (event->modifiers() & Qt::ShiftModifier) {
      // Shift moves the selection's other corner instead of the current cell.
      const int row_step = to->row - d_->current_row_;
      const int col_step = to->col - d_->current_col_;
      if (event->key() == Qt::Key_Home || event->key() == Qt::Key_End) {
        extendSelection(control ? to->row : d_->corner_row_, to->col);
      } else {
        extendSelection(d_->corner_row_ + row_step, d_->corner_col_ + col_step);
      }
      d_->ensureVisible(d_->corner_row_, d_->corner_col_);
    } else {
      d_->moveCurrent(to->row, to->col);
      d_->ensureVisible(d_->current_row_, d_->current_col_);
    }
    event->accept();
    return;
  }
  const int code = typedCharacter(*event);
  if (code == 0) {
    QWidget::keyPressEvent(event);
    return;
  }
  // A typed character is the handlers' to use; the grid itself edits
  // nothing, and the key goes no further (Enter and Escape would otherwise
  // reach a dialog's default buttons).
  KeyPress press{code};
  emit keyPressed(press);
  event->accept();
}

void SheetGrid::wheelEvent(QWheelEvent* event) {
  const QPoint delta = event->angleDelta();
  const bool horizontal = std::abs(delta.x()) > std::abs(delta.y());
  const int steps = (horizontal ? delta.x() : delta.y()) / 120;
  if (steps == 0) {
    event->ignore();
    return;
  }
  if (horizontal)
    d_->setScroll(d_->topRow(), d_->leftCol() - steps);
  else
    d_->setScroll(d_->topRow() - steps * kWheelRows, d_->leftCol());
  event->accept();
}

bool SheetGrid::eventFilter(QObject* watched, QEvent* event) {
  // The scroll bars are part of the grid: pressing one focuses the grid, as
  // a click on a cell does (an open editor then commits before it scrolls).
  if ((watched == d_->vbar_ || watched == d_->hbar_) && event->type() == QEvent::MouseButtonPress) {
    setFocus(Qt::MouseFocusReason);
  }
  return QWidget::eventFilter(watched, event);
}

}  // namespace orcalc::ui
