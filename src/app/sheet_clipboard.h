// The block commands of a sheet window on the grid's selection: copy, cut,
// clear and paste through the clipboard. When a text field has the focus
// (a count box, an open cell editor) they act on its text instead. The
// window owns one and keeps the undo history the changes go into.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/sheet_undo.h"

class QLineEdit;
class QWidget;

namespace orcalc::ui {

class CellEditing;
class SheetGrid;

// The text field that has the focus in `window`, if any: the edit commands
// then act on its text.
QLineEdit* focusedTextField(const QWidget* window);

// Where the sheet's layout puts the cells the block commands treat apart.
struct BlockLayout {
  // The sign column, this many columns from the right.
  int sign_column_from_right = 2;
  // The row whose last `trailing_cols` cells the layout fills (the objective
  // row, with its sense), or -1: cut, clear and paste leave them alone.
  int fixed_trailing_row = -1;
  int trailing_cols = 0;
};

class SheetClipboard {
 public:
  // Pushes an undo step for cells already written.
  using PushChanges = std::function<void(std::vector<CellChange> changes, const QString& text)>;

  SheetClipboard(QWidget* window, SheetGrid* grid, CellEditing& editing, QLineEdit* numberEditor,
                 BlockLayout layout, PushChanges pushChanges);

  void copy();
  void cut();
  void clear();
  void paste();

  // A cell the layout fills and cut, clear and paste leave alone.
  bool isFixedCell(int row, int col) const;

 private:
  // The cells a pasted block changes, from the current cell down and to the
  // right, and how far it reached.
  struct Paste {
    std::vector<CellChange> changes;
    long left_out = 0;  // fields beyond the grid's data cells
    int bottom = 0;
    int right = 0;
  };
  // None when a field does not fit its cell: the message says which.
  std::optional<Paste> planPaste(const std::vector<std::vector<std::string>>& rows) const;
  // What the cell holds with `field` pasted: the field as the cell stores
  // it, or the cell's own text pasted back; none when it cannot take it.
  std::optional<std::string> pastedText(int row, int col, const std::string& field) const;
  // Whether pasting `field` into that fixed cell leaves it as it is rather
  // than being refused: the cell's own text, or either sense in the sense
  // cell.
  bool fixedCellTakes(int row, int col, const std::string& field) const;

  QWidget* const window_;
  SheetGrid* const grid_;
  CellEditing& editing_;
  QLineEdit* const numberEditor_;
  const BlockLayout layout_;
  const PushChanges pushChanges_;
};

}  // namespace orcalc::ui
