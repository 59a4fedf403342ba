// In-place editing of a sheet window's grid: the floating number editor
// (Text8) and the sign drop-down (Combo3), and the recorded cell.
#pragma once

#include <QObject>
#include <cstdint>
#include <functional>

class QComboBox;
class QKeyEvent;
class QLineEdit;
class QString;
class QWheelEvent;
class QWidget;

namespace orcalc::ui {

class SheetGrid;
struct KeyPress;

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

 signals:
  // An editor's commit changed cell (row, col) from `before` (its text when
  // the editor opened over it) to `after`.
  void cellCommitted(int row, int col, const QString& before, const QString& after);

 private:
  bool eventFilter(QObject* watched, QEvent* event) override;

  bool isSignColumn(int col) const;
  void recordCurrentCell();
  // Scrolls the grid so that its current cell is in full view (its
  // top-left corner when it is larger than the view).
  void bringCurrentCellIntoView();
  // Places `editor` over the grid's current cell; the height only when
  // `with_height`.
  void placeOverCurrentCell(QWidget* editor, bool with_height);
  // Hides an editor; one that holds the focus hands it to the grid first,
  // which commits it.
  void hideEditor(QWidget* editor);

  // The grid's events.
  void gridClicked();
  void gridKeyPressed(KeyPress& press);
  void enterCell();
  void unhighlightCell();
  void gridScrolled();
  // A wheel turned over an editor, handed to the grid.
  void passWheelToGrid(const QWheelEvent& wheel);

  // The text editor: its keys (true when the key is used up here), the
  // change, and the commit on focus loss.
  bool textEditorKey(QKeyEvent* event);
  void textEditorChanged(const QString& text);
  void commitTextEditor();
  // Characters arriving other than by typing (paste, drop, input method):
  // what the key filter would let through; `refused` tells whether any
  // character would have beeped.
  QString acceptableInsertion(const QString& incoming, bool* refused) const;
  void insertIntoTextEditor(const QString& incoming);
  void pasteIntoTextEditor();

  // The drop-down: the commit on item choice and on focus loss (not when
  // the focus only moves into its own list).
  bool focusInOwnList() const;
  void commitDropDown();

  QWidget* window_;
  SheetGrid* grid_;
  QLineEdit* text8_;
  QComboBox* combo3_;
  SignColumnRule sign_column_;
  std::int16_t g_row_ = 0;
  std::int16_t g_col_ = 0;
  bool committing_ = false;
  // The cell the text editor opened over and its text then (the editor
  // writes into the cell as the user types).
  int text_row_ = -1;
  int text_col_ = -1;
  QString text_before_;
  // Whether an editor stands open over the recorded cell.
  bool text_open_ = false;
  bool combo_open_ = false;
};

}  // namespace orcalc::ui
