// In-place editing of a sheet window's grid: the floating number editor and
// the sign drop-down, and the recorded cell.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

#include "sheet/typed_key.h"

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QString;
class QWheelEvent;
class QWidget;

namespace orcalc::ui {

class SheetGrid;

class CellEditing : public QObject {
  Q_OBJECT

 public:
  // The sign column for a grid of `cols` columns: cols - 2 on the
  // linear-programming sheet, cols - 6 on the goal-programming sheet.
  using SignColumnRule = std::function<int(int cols)>;

  // `window` is the sheet window; grid, number editor and sign drop-down are
  // its children (the editors are siblings of the grid). The drop-down's
  // items are loaded by loadItems(), which the window calls at load.
  CellEditing(QWidget* window, SheetGrid* grid, QLineEdit* number_editor, QComboBox* sign_drop_down,
              SignColumnRule sign_column);

  // Window load: the three sign items (list emptied first), both editors
  // hidden.
  void loadItems();

  // The recorded cell: where the last click or typed key on the grid was,
  // the cell an open editor writes into; 0 at creation.
  std::int16_t recordedRow() const { return recorded_row_; }
  std::int16_t recordedCol() const { return recorded_col_; }

  // Hides any open editor, committing a focused one first (used before the
  // sheet is laid out anew).
  void closeEditors();

  // The clipboard's text into the number editor, through its filter.
  void pasteIntoNumberEditor();

 signals:
  // An editor's commit changed cell (row, col) from `before` (its text when
  // the editor opened over it) to `after`.
  void cellCommitted(int row, int col, const QString& before, const QString& after);

 private:
  enum class Editor { Number, Sign };

  bool eventFilter(QObject* watched, QEvent* event) override;

  QWidget* widget(Editor editor) const;
  bool& isOpen(Editor editor);
  bool isSignColumn(int col) const;
  void recordCurrentCell();
  // Scrolls the grid so that its current cell is in full view (its
  // top-left corner when it is larger than the view).
  void bringCurrentCellIntoView();
  // Places `editor` over the grid's current cell; the height only when
  // `with_height`.
  void placeOverCurrentCell(QWidget* editor, bool with_height);
  // Opens the drop-down over the current cell with the cell's sign.
  void openSignDropDown(bool with_height);
  // Hides an editor; one that holds the focus hands it to the grid first,
  // which commits it.
  void hideEditor(Editor editor);
  // Writes the editor's text into the recorded cell and closes the editor;
  // only an open editor commits, once.
  void commit(Editor editor);

  // The grid's events.
  void gridClicked();
  void gridKeyPressed(KeyPress press);
  void enterCell();
  void unhighlightCell();
  void gridScrolled();
  // A wheel turned over an editor, handed to the grid.
  void passWheelToGrid(const QWheelEvent& wheel);

  // The number editor: its keys (true when the key is used up here), the
  // character typed on the grid that opened it, and text that arrives any
  // other way (paste, drop, input method), all through one filter.
  bool numberEditorKey(QKeyEvent* event);
  void typeIntoNumberEditor(int code);
  void insertIntoNumberEditor(const QString& incoming);
  void numberEditorChanged(const QString& text);
  bool signDropDownKey(const QKeyEvent& event);
  // Whether the focus only moved into the drop-down's own list.
  bool focusInOwnList() const;

  SheetGrid* grid_;
  QLineEdit* numberEditor_;
  QComboBox* signDropDown_;
  SignColumnRule sign_column_;
  std::int16_t recorded_row_ = 0;
  std::int16_t recorded_col_ = 0;
  bool committing_ = false;
  // The cell the last editor opened over and its text then (the number
  // editor writes into the cell as the user types).
  int opened_row_ = -1;
  int opened_col_ = -1;
  QString opened_text_;
  // Whether an editor stands open over the recorded cell.
  bool number_open_ = false;
  bool sign_open_ = false;
};

}  // namespace orcalc::ui
