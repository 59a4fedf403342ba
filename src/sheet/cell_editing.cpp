#include "sheet/cell_editing.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDropEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMimeData>
#include <QPointer>
#include <QStringList>
#include <QWheelEvent>
#include <algorithm>
#include <utility>

#include "platform/platform.h"
#include "sheet/grid_geometry.h"
#include "sheet/number_filter.h"
#include "sheet/sheet_font.h"
#include "sheet/sheet_grid.h"

namespace orcalc::ui {
namespace {

const QColor kHighlightBackground(0, 0, 128);
const QColor kHighlightForeground(255, 255, 255);
const QColor kPlainBackground(255, 255, 255);
const QColor kPlainForeground(0, 0, 0);

// The drop-down's items: a blank, the sign, a blank.
const QStringList& signItems() {
  static const QStringList items = {QStringLiteral(" ≥ "), QStringLiteral(" ≤ "),
                                    QStringLiteral(" ═ ")};
  return items;
}

// Focus taken by a popup (a context menu, the drop-down's own list) or by
// another window comes back; only a move to another control of the window
// ends an edit.
bool endsEdit(const QFocusEvent* event) {
  return event->reason() != Qt::PopupFocusReason && event->reason() != Qt::ActiveWindowFocusReason;
}

// The stored form of an edited number: a leading "." gets a "0" in front,
// otherwise a trailing "." gets a "0" after it.
QString normaliseNumberText(QString text) {
  if (text.startsWith(QLatin1Char('.'))) return QLatin1Char('0') + text;
  if (text.endsWith(QLatin1Char('.'))) return text + QLatin1Char('0');
  return text;
}

}  // namespace

CellEditing::CellEditing(QWidget* window, SheetGrid* grid, QLineEdit* number_editor,
                         QComboBox* sign_drop_down, SignColumnRule sign_column)
    : QObject(window),
      grid_(grid),
      numberEditor_(number_editor),
      signDropDown_(sign_drop_down),
      sign_column_(std::move(sign_column)) {
  numberEditor_->setFont(sheetFont());
  signDropDown_->setEditable(true);
  // The text field is written as typed: no completion, and Enter adds no
  // item to the list.
  signDropDown_->setInsertPolicy(QComboBox::NoInsert);
  signDropDown_->setCompleter(nullptr);
  // A wheel turned over the drop-down scrolls the grid: it gives the
  // drop-down no focus on the way.
  signDropDown_->setFocusPolicy(Qt::StrongFocus);
  numberEditor_->installEventFilter(this);
  signDropDown_->installEventFilter(this);

  connect(grid_, &SheetGrid::clicked, this, &CellEditing::gridClicked);
  // A double-click opens the editor as Enter does.
  connect(grid_, &SheetGrid::doubleClicked, this, [this] { gridKeyPressed(KeyPress{kEnterCode}); });
  connect(grid_, &SheetGrid::keyPressed, this, &CellEditing::gridKeyPressed);
  connect(grid_, &SheetGrid::enterCell, this, &CellEditing::enterCell);
  connect(grid_, &SheetGrid::leaveCell, this, &CellEditing::unhighlightCell);
  connect(grid_, &SheetGrid::focusLost, this, &CellEditing::unhighlightCell);
  connect(grid_, &SheetGrid::scrolled, this, &CellEditing::gridScrolled);
  connect(numberEditor_, &QLineEdit::textChanged, this, &CellEditing::numberEditorChanged);
  connect(signDropDown_, &QComboBox::activated, this, [this] { commit(Editor::Sign); });
}

void CellEditing::loadItems() {
  signDropDown_->clear();
  signDropDown_->addItems(signItems());
  signDropDown_->hide();
  numberEditor_->hide();
  number_open_ = false;
  sign_open_ = false;
}

void CellEditing::closeEditors() {
  hideEditor(Editor::Number);
  hideEditor(Editor::Sign);
}

QWidget* CellEditing::widget(Editor editor) const {
  return editor == Editor::Number ? static_cast<QWidget*>(numberEditor_) : signDropDown_;
}

bool& CellEditing::isOpen(Editor editor) {
  return editor == Editor::Number ? number_open_ : sign_open_;
}

bool CellEditing::isSignColumn(int col) const {
  return col >= 1 && sign_column_ && col == sign_column_(grid_->cols());
}

void CellEditing::recordCurrentCell() {
  recorded_row_ = static_cast<std::int16_t>(grid_->currentRow());
  recorded_col_ = static_cast<std::int16_t>(grid_->currentCol());
  opened_row_ = grid_->currentRow();
  opened_col_ = grid_->currentCol();
  opened_text_ = grid_->currentText();
}

void CellEditing::bringCurrentCellIntoView() {
  // Scrolling hides the editors, so this comes before one opens.
  grid_->scrollToCell(grid_->currentRow(), grid_->currentCol());
}

void CellEditing::placeOverCurrentCell(QWidget* editor, bool with_height) {
  // The grid's position in the editor's parent (the window) plus the
  // cell's rectangle in the grid, one pixel narrower and lower.
  QWidget* parent = editor->parentWidget();
  const QRect cell = grid_->currentCellRect();
  const QPoint origin = parent ? grid_->mapTo(parent, cell.topLeft()) : cell.topLeft();
  const QRect placed = editorRect(cell.translated(origin - cell.topLeft()));
  editor->setGeometry(placed.x(), placed.y(), placed.width(),
                      with_height ? placed.height() : editor->height());
}

void CellEditing::openSignDropDown(bool with_height) {
  bringCurrentCellIntoView();
  signDropDown_->show();
  sign_open_ = true;
  placeOverCurrentCell(signDropDown_, with_height);
  signDropDown_->setEditText(grid_->currentText());
  hideEditor(Editor::Number);
}

void CellEditing::hideEditor(Editor editor) {
  QWidget* shown = widget(editor);
  if (shown->hasFocus()) grid_->setFocus(Qt::OtherFocusReason);
  shown->hide();
  isOpen(editor) = false;
}

void CellEditing::commit(Editor editor) {
  // Only an open editor commits, and only once: the toolkit also reports a
  // drop-down choice when its text field, already closed, matches an item.
  if (committing_ || !isOpen(editor)) return;
  committing_ = true;
  isOpen(editor) = false;
  const QString text = editor == Editor::Number ? normaliseNumberText(numberEditor_->text())
                                                : signDropDown_->currentText();
  const int row = recorded_row_;
  const int col = recorded_col_;
  // A cell that a rebuilt sheet no longer has takes nothing.
  const bool written = grid_->isDataCell(row, col);
  const QString before =
      row == opened_row_ && col == opened_col_ ? opened_text_ : grid_->text(row, col);
  if (written) grid_->setText(row, col, text);
  QLineEdit* field = editor == Editor::Number ? numberEditor_ : signDropDown_->lineEdit();
  if (field) field->setCursorPosition(0);
  hideEditor(editor);
  committing_ = false;
  if (written && before != text) emit cellCommitted(row, col, before, text);
}

void CellEditing::gridClicked() {
  recordCurrentCell();
  if (!isSignColumn(recorded_col_)) {
    // A drop-down still showing here never had the focus (a focused one
    // committed when the click took its focus): a sign belongs in no other
    // column, so it closes without writing anything.
    hideEditor(Editor::Sign);
    return;
  }
  openSignDropDown(false);
}

void CellEditing::gridKeyPressed(KeyPress press) {
  recordCurrentCell();
  // Headers are never edited (a sheet of one row or column has no other
  // cell): nothing opens.
  if (!grid_->hasCurrentDataCell()) return;
  if (isSignColumn(recorded_col_)) {
    openSignDropDown(true);
    return;
  }
  bringCurrentCellIntoView();
  placeOverCurrentCell(numberEditor_, true);
  numberEditor_->setText(opened_text_);  // the caret goes to the end
  hideEditor(Editor::Sign);
  numberEditor_->show();
  number_open_ = true;
  numberEditor_->raise();
  numberEditor_->setFocus(Qt::OtherFocusReason);
  // Enter only opens the editor; any other character is typed into it.
  if (press.code != kEnterCode) typeIntoNumberEditor(press.code);
}

void CellEditing::enterCell() {
  grid_->setCurrentCellColors(kHighlightBackground, kHighlightForeground);
  const QString text = grid_->currentText();
  // An editor that is showing keeps its text: it belongs to the cell it
  // stands over, not to the cell just entered.
  if (isSignColumn(grid_->currentCol())) {
    if (signDropDown_->isVisible()) return;
    signDropDown_->setEditText(text);
    // Selects the sign between its blanks (as much of it as the text has).
    if (QLineEdit* field = signDropDown_->lineEdit()) {
      const int length = static_cast<int>(text.size());
      if (length > 1) field->setSelection(1, std::min(2, length - 1));
    }
  } else {
    if (numberEditor_->isVisible()) return;
    numberEditor_->setText(text);
    numberEditor_->setSelection(0, static_cast<int>(text.size()));
  }
}

void CellEditing::unhighlightCell() {
  grid_->setCurrentCellColors(kPlainBackground, kPlainForeground);
}

void CellEditing::gridScrolled() { closeEditors(); }

void CellEditing::passWheelToGrid(const QWheelEvent& wheel) {
  const QPointF global = wheel.globalPosition();
  QWheelEvent forwarded(grid_->mapFromGlobal(global), global, wheel.pixelDelta(),
                        wheel.angleDelta(), wheel.buttons(), wheel.modifiers(), wheel.phase(),
                        wheel.inverted(), wheel.source(), wheel.pointingDevice());
  QCoreApplication::sendEvent(grid_, &forwarded);
}

bool CellEditing::numberEditorKey(QKeyEvent* event) {
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
    // The grid's focus commits the edit; then the grid moves one row.
    QKeyEvent move(QEvent::KeyPress, event->key(), Qt::NoModifier);
    hideEditor(Editor::Number);
    grid_->setFocus(Qt::OtherFocusReason);
    QCoreApplication::sendEvent(grid_, &move);
    return true;
  }
  if (event->matches(QKeySequence::Paste)) {
    pasteIntoNumberEditor();
    return true;
  }
  const int code = typedCharacter(*event);
  if (code == 0 || code == kBackspaceCode) return false;  // caret movement, Delete, copy, undo...
  if (code == kEnterCode) {
    grid_->setFocus(Qt::OtherFocusReason);
    return true;
  }
  // A key may carry several characters (a compose sequence, some layouts);
  // a key that carries all it types goes in as usual.
  const auto first = static_cast<char32_t>(code);
  const QString typed = event->text().size() > 1 ? event->text() : QString::fromUcs4(&first, 1);
  const FilteredText filtered =
      filterNumberText(NumberField::Decimal, numberEditor_->text(), typed);
  if (filtered.refused) Platform::current().beep();
  if (filtered.accepted == typed) return false;
  if (!filtered.accepted.isEmpty()) numberEditor_->insert(filtered.accepted);
  return true;
}

void CellEditing::typeIntoNumberEditor(int code) {
  if (code == kBackspaceCode) {
    numberEditor_->backspace();
    return;
  }
  const auto typed = static_cast<char32_t>(code);
  insertIntoNumberEditor(QString::fromUcs4(&typed, 1));
}

void CellEditing::insertIntoNumberEditor(const QString& incoming) {
  const FilteredText filtered =
      filterNumberText(NumberField::Decimal, numberEditor_->text(), incoming);
  if (filtered.refused) Platform::current().beep();
  if (!filtered.accepted.isEmpty()) numberEditor_->insert(filtered.accepted);
}

void CellEditing::pasteIntoNumberEditor() {
  if (const QClipboard* clipboard = QGuiApplication::clipboard()) {
    insertIntoNumberEditor(clipboard->text());
  }
}

void CellEditing::numberEditorChanged(const QString& text) {
  // The cell shows the number as it is typed.
  if (grid_->hasCurrentDataCell()) grid_->setCurrentText(text);
}

bool CellEditing::signDropDownKey(const QKeyEvent& event) {
  const int code = typedCharacter(event);
  if (code == kEnterCode) {
    grid_->setFocus(Qt::OtherFocusReason);
    return true;
  }
  // Escape types nothing into the text field, and it must not reach a
  // dialog window, which would close and lose its sheet.
  return code == kEscapeCode;
}

bool CellEditing::focusInOwnList() const {
  // Opening its list moves the focus into the list's popup, the first time
  // before the popup is known as one.
  const QWidget* now = QApplication::focusWidget();
  const QAbstractItemView* list = signDropDown_->view();
  return now && list && now->window() == list->window();
}

bool CellEditing::eventFilter(QObject* watched, QEvent* event) {
  // The wheel over an editor scrolls the grid beneath it (which hides the
  // editors); it never changes the drop-down's item.
  if ((watched == numberEditor_ || watched == signDropDown_) && event->type() == QEvent::Wheel) {
    passWheelToGrid(*static_cast<QWheelEvent*>(event));
    return true;
  }
  if (watched == numberEditor_) {
    switch (event->type()) {
      case QEvent::KeyPress:
        // A key that reaches the editor after it closed would otherwise
        // change whatever cell is current now.
        return !number_open_ || numberEditorKey(static_cast<QKeyEvent*>(event));
      case QEvent::FocusOut:
        if (endsEdit(static_cast<QFocusEvent*>(event))) commit(Editor::Number);
        break;
      case QEvent::InputMethod: {
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (input->commitString().isEmpty()) break;
        insertIntoNumberEditor(input->commitString());
        input->accept();
        return true;
      }
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!drop->mimeData()->hasText()) return true;
        numberEditor_->setCursorPosition(
            numberEditor_->cursorPositionAt(drop->position().toPoint()));
        insertIntoNumberEditor(drop->mimeData()->text());
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        return true;
      }
      case QEvent::ContextMenu: {
        // The standard menu, with Paste going through the filter.
        auto* request = static_cast<QContextMenuEvent*>(event);
        QPointer<QMenu> menu = numberEditor_->createStandardContextMenu();
        // Qt names the command only from 6.5 on; before, its text (in the
        // language loaded) tells it.
        const QString paste = QLineEdit::tr("&Paste");
        for (QAction* action : menu->actions()) {
          if (action->objectName() == QLatin1String("edit-paste") ||
              action->text().section(QLatin1Char('\t'), 0, 0) == paste) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, &CellEditing::pasteIntoNumberEditor);
          }
        }
        menu->exec(request->globalPos());
        delete menu;
        return true;
      }
      default:
        break;
    }
    return false;
  }
  if (watched == signDropDown_) {
    if (event->type() == QEvent::KeyPress && signDropDownKey(*static_cast<QKeyEvent*>(event)))
      return true;
    if (event->type() == QEvent::FocusOut && endsEdit(static_cast<QFocusEvent*>(event)) &&
        !focusInOwnList()) {
      commit(Editor::Sign);
    }
    return false;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace orcalc::ui
