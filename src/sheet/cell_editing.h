// In-place editing of a sheet window's grid: the floating number editor
// (Text8) and the sign drop-down (Combo3), and the recorded cell.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

class QComboBox;
class QLineEdit;
class QWidget;

namespace orcalc::ui {

class SheetGrid;

class CellEditing : public QObject {
  Q_OBJECT

 public:
  // The sign column for a grid of `cols` columns: cols - 2 on the
  // linear-programming sheet, cols - 6 on the goal-programming sheet.
  using SignColumnRule = std::function<int(int cols)>;

  // `window` is the sheet window; grid, text editor and drop-down are its
  // children (the editors are siblings of the grid). The drop-down's items
  // are loaded by loadItems(), which the window calls at load.
  CellEditing(QWidget* window, SheetGrid* grid, QLineEdit* text8, QComboBox* combo3,
              SignColumnRule sign_column);

  // Window load: the three sign items (list emptied first), both editors
  // hidden.
  void loadItems();

  // The recorded cell (gRow, gCol), 0 at creation.
  std::int16_t gRow() const { return g_row_; }
  std::int16_t gCol() const { return g_col_; }

  // Hides any open editor, committing a focused text editor first (used
  // before the sheet is laid out anew).
  void closeEditors();

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;

  QWidget* window_;
  SheetGrid* grid_;
  QLineEdit* text8_;
  QComboBox* combo3_;
  SignColumnRule sign_column_;
  std::int16_t g_row_ = 0;
  std::int16_t g_col_ = 0;
};

}  // namespace orcalc::ui
