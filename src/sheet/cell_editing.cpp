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
#include "sheet/sheet_font.h"
#include "sheet/sheet_grid.h"
#include "sheet/typed_key.h"

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

CellEditing::CellEditing(QWidget* window, SheetGrid* grid, QLineEdit* text8, QComboBox* combo3,
                         SignColumnRule sign_column)
    : QObject(window),
      window_(window),
      grid_(grid),
      text8_(text8),
      combo3_(combo3),
      sign_column_(std::move(sign_column)) {
  text8_->setFont(sheetFont());
  combo3_->setEditable(true);
  // The text field is written as typed: no completion, and Enter adds no
  // item to the list.
  combo3_->setInsertPolicy(QComboBox::NoInsert);
  combo3_->setCompleter(nullptr);
  // A wheel turned over the drop-down scrolls the grid: it gives the
  // drop-down no focus on the way.
  combo3_->setFocusPolicy(Qt::StrongFocus);
  text8_->installEventFilter(this);
  combo3_->installEventFilter(this);

  connect(grid_, &SheetGrid::clicked, this, &CellEditing::gridClicked);
  connect(grid_, &SheetGrid::doubleClicked, this, [this] {
    KeyPress enter{13};
    gridKeyPressed(enter);
  });
  connect(grid_, &SheetGrid::keyPressed, this, &CellEditing::gridKeyPressed);
  connect(grid_, &SheetGrid::enterCell, this, &CellEditing::enterCell);
  connect(grid_, &SheetGrid::leaveCell, this, &CellEditing::unhighlightCell);
  connect(grid_, &SheetGrid::focusLost, this, &CellEditing::unhighlightCell);
  connect(grid_, &SheetGrid::scrolled, this, &CellEditing::gridScrolled);
  connect(text8_, &QLineEdit::textChanged, this, &CellEditing::textEditorChanged);
  connect(combo3_, &QComboBox::activated, this, &CellEditing::commitDropDown);
}

void CellEditing::loadItems() {
  combo3_->clear();
  combo3_->addItems(signItems());
  combo3_->hide();
  text8_->hide();
  text_open_ = false;
  combo_open_ = false;
}

void CellEditing::closeEditors() {
  hideEditor(text8_);
  hideEditor(combo3_);
}

bool CellEditing::isSignColumn(int col) const {
  return col >= 1 && sign_column_ && col == sign_column_(grid_->cols());
}

void CellEditing::recordCurrentCell() {
  g_row_ = static_cast<std::int16_t>(grid_->currentRow());
  g_col_ = static_cast<std::int16_t>(grid_->currentCol());
}

void CellEditing::bringCurrentCellIntoView() {
  // Scrolling hides the editors, so this comes before one opens.
  grid_->scrollToCell(grid_->currentRow(), grid_->currentCol());
}

void CellEditing::placeOverCurrentCell(QWidget* editor, bool with_height) {
  // The grid's position in the editor's parent (the window) plus the
  // cell's rectangle in the grid, one pixel narrower and lower.
  const QRect cell = grid_->currentCellRect();
  QWidget* parent = editor->parentWidget();
  const QPoint origin = parent ? grid_->mapTo(parent, cell.topLeft()) : cell.topLeft();
  const int width = std::max(cell.width() - 1, 0);
  const int height = with_height ? std::max(cell.height() - 1, 0) : editor->height();
  editor->setGeometry(origin.x(), origin.y(), width, height);
}

void CellEditing::hideEditor(QWidget* editor) {
  if (editor->hasFocus()) grid_->setFocus(Qt::OtherFocusReason);
  editor->hide();
  (editor == text8_ ? text_open_ : combo_open_) = false;
}

void CellEditing::gridClicked() {
  recordCurrentCell();
  if (!isSignColumn(g_col_)) {
    // A drop-down still showing here never had the focus (a focused one
    // committed when the click took its focus): a sign belongs in no other
    // column, so it closes without writing anything.
    hideEditor(combo3_);
    return;
  }
  bringCurrentCellIntoView();
  combo3_->show();
  combo_open_ = true;
  placeOverCurrentCell(combo3_, false);
  combo3_->setEditText(grid_->currentText());
  hideEditor(text8_);
}

void CellEditing::gridKeyPressed(KeyPress& press) {
  recordCurrentCell();
  // Headers are never edited (a sheet of one row or column has no other
  // cell): nothing opens.
  if (!grid_->hasCurrentDataCell()) return;
  bringCurrentCellIntoView();
  if (isSignColumn(g_col_)) {
    combo3_->show();
    combo_open_ = true;
    placeOverCurrentCell(combo3_, true);
    combo3_->setEditText(grid_->currentText());
    hideEditor(text8_);
    return;
  }
  placeOverCurrentCell(text8_, true);
  text_row_ = grid_->currentRow();
  text_col_ = grid_->currentCol();
  text_before_ = grid_->currentText();
  text8_->setText(text_before_);  // the caret goes to the end
  hideEditor(combo3_);
  text8_->show();
  text_open_ = true;
  text8_->raise();
  text8_->setFocus(Qt::OtherFocusReason);
  if (press.code != 13) {
    // Queued behind the focus change; it passes the editor's own filter.
    QCoreApplication::postEvent(text8_, newTypedKeyEvent(press.code));
  }
}

void CellEditing::enterCell() {
  grid_->setCurrentCellColors(kHighlightBackground, kHighlightForeground);
  const QString text = grid_->currentText();
  // An editor that is showing keeps its text: it belongs to the cell it
  // stands over, not to the cell just entered.
  if (isSignColumn(grid_->currentCol())) {
    if (combo3_->isVisible()) return;
    combo3_->setEditText(text);
    // Selects the sign between its blanks (as much of it as the text has).
    if (QLineEdit* field = combo3_->lineEdit()) {
      const int length = static_cast<int>(text.size());
      if (length > 1) field->setSelection(1, std::min(2, length - 1));
    }
  } else {
    if (text8_->isVisible()) return;
    text8_->setText(text);
    text8_->setSelection(0, static_cast<int>(text.size()));
  }
}

void CellEditing::unhighlightCell() {
  grid_->setCurrentCellColors(kPlainBackground, kPlainForeground);
}

void CellEditing::gridScrolled() {
  hideEditor(text8_);
  hideEditor(combo3_);
}

void CellEditing::passWheelToGrid(const QWheelEvent& wheel) {
  const QPointF global = wheel.globalPosition();
  QWheelEvent forwarded(grid_->mapFromGlobal(global), global, wheel.pixelDelta(),
                        wheel.angleDelta(), wheel.buttons(), wheel.modifiers(), wheel.phase(),
                        wheel.inverted(), wheel.source(), wheel.pointingDevice());
  QCoreApplication::sendEvent(grid_, &forwarded);
}

bool CellEditing::textEditorKey(QKeyEvent* event) {
  // A key that reaches the editor after it closed (a queued one) would
  // otherwise change whatever cell is current now.
  if (!text_open_) return true;
  if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down) {
    // The grid's focus commits the edit; then the grid moves one row.
    const int key = event->key();
    hideEditor(text8_);
    grid_->setFocus(Qt::OtherFocusReason);
    QCoreApplication::postEvent(grid_, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    return true;
  }
  if (event->matches(QKeySequence::Paste)) {
    pasteIntoTextEditor();
    return true;
  }
  const int code = typedCharacter(*event);
  if (code == 0) return false;  // caret movement, Delete, copy, undo...
  if (code != 13 && code != 8 && code != 27 && event->text().size() > 1) {
    // Several characters in one key (a compose sequence, some layouts): each
    // goes through the filter, as pasted text does.
    insertIntoTextEditor(event->text());
    return true;
  }
  if (code == 13) {
    grid_->setFocus(Qt::OtherFocusReason);
    return true;
  }
  if (code == 8 || (code >= '0' && code <= '9')) return false;
  if (code == '.' || code == '-') {
    // One of each in the whole text, selected part included.
    return text8_->text().contains(QChar(code));
  }
  Platform::current().beep();
  return true;
}

void CellEditing::textEditorChanged(const QString& text) {
  // The cell shows the number as it is typed.
  if (grid_->hasCurrentDataCell()) grid_->setCurrentText(text);
}

void CellEditing::commitTextEditor() {
  if (committing_ || !text_open_) return;
  committing_ = true;
  text_open_ = false;
  // The text is taken first: entering the recorded cell below reloads the
  // editors.
  const QString text = normaliseNumberText(text8_->text());
  const int row = grid_->currentRow();
  const int col = grid_->currentCol();
  // A cell that a rebuilt sheet no longer has takes nothing.
  const bool written = grid_->isDataCell(g_row_, g_col_);
  const QString before =
      g_row_ == text_row_ && g_col_ == text_col_ ? text_before_ : grid_->text(g_row_, g_col_);
  if (written) {
    grid_->setCurrentCell(g_row_, g_col_);
    grid_->setCurrentText(text);
  }
  text8_->setCursorPosition(0);
  hideEditor(text8_);
  grid_->setCurrentCell(row, col);
  committing_ = false;
  if (written && before != text) emit cellCommitted(g_row_, g_col_, before, text);
}

QString CellEditing::acceptableInsertion(const QString& incoming, bool* refused) const {
  const QString existing = text8_->text();
  QString accepted;
  *refused = false;
  for (QChar ch : incoming) {
    if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) {
      accepted += ch;
    } else if (ch == QLatin1Char('.') || ch == QLatin1Char('-')) {
      if (!existing.contains(ch) && !accepted.contains(ch)) accepted += ch;
    } else {
      *refused = true;
    }
  }
  return accepted;
}

void CellEditing::insertIntoTextEditor(const QString& incoming) {
  bool refused = false;
  const QString accepted = acceptableInsertion(incoming, &refused);
  if (refused) Platform::current().beep();
  if (!accepted.isEmpty()) text8_->insert(accepted);
}

void CellEditing::pasteIntoTextEditor() {
  if (const QClipboard* clipboard = QGuiApplication::clipboard()) {
    insertIntoTextEditor(clipboard->text());
  }
}

bool CellEditing::focusInOwnList() const {
  // Opening its list moves the focus into the list's popup, the first time
  // before the popup is known as one.
  const QWidget* now = QApplication::focusWidget();
  const QAbstractItemView* list = combo3_->view();
  return now && list && now->window() == list->window();
}

void CellEditing::commitDropDown() {
  // Only an open drop-down commits: the toolkit also reports a choice when
  // the text field, already closed, matches an item.
  if (committing_ || !combo_open_) return;
  committing_ = true;
  combo_open_ = false;
  const QString text = combo3_->currentText();
  const int row = grid_->currentRow();
  const int col = grid_->currentCol();
  const bool written = grid_->isDataCell(g_row_, g_col_);
  const QString before = grid_->text(g_row_, g_col_);
  if (written) {
    grid_->setCurrentCell(g_row_, g_col_);
    grid_->setCurrentText(text);
  }
  if (QLineEdit* field = combo3_->lineEdit()) field->setCursorPosition(0);
  hideEditor(combo3_);
  grid_->setCurrentCell(row, col);
  committing_ = false;
  if (written && before != text) emit cellCommitted(g_row_, g_col_, before, text);
}

bool CellEditing::eventFilter(QObject* watched, QEvent* event) {
  // The wheel over an editor scrolls the grid beneath it (which hides the
  // editors); it never changes the drop-down's item.
  if ((watched == text8_ || watched == combo3_) && event->type() == QEvent::Wheel) {
    passWheelToGrid(*static_cast<QWheelEvent*>(event));
    return true;
  }
  if (watched == text8_) {
    switch (event->type()) {
      case QEvent::KeyPress:
        return textEditorKey(static_cast<QKeyEvent*>(event));
      case QEvent::FocusOut:
        if (endsEdit(static_cast<QFocusEvent*>(event))) commitTextEditor();
        break;
      case QEvent::InputMethod: {
        // Text from an input method passes the same filter as typing.
        auto* input = static_cast<QInputMethodEvent*>(event);
        if (input->commitString().isEmpty()) break;
        insertIntoTextEditor(input->commitString());
        input->accept();
        return true;
      }
      case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        if (!drop->mimeData()->hasText()) return true;
        text8_->setCursorPosition(text8_->cursorPositionAt(drop->position().toPoint()));
        insertIntoTextEditor(drop->mimeData()->text());
        drop->setDropAction(Qt::CopyAction);
        drop->accept();
        return true;
      }
      case QEvent::ContextMenu: {
        // The standard menu, with Paste going through the filter.
        auto* request = static_cast<QContextMenuEvent*>(event);
        QPointer<QMenu> menu = text8_->createStandardContextMenu();
        // Qt names the command only from 6.5 on; before, its text (in the
        // language loaded) tells it.
        const QString paste = QLineEdit::tr("&Paste");
        for (QAction* action : menu->actions()) {
          if (action->objectName() == QLatin1String("edit-paste") ||
              action->text().section(QLatin1Char('\t'), 0, 0) == paste) {
            disconnect(action, &QAction::triggered, nullptr, nullptr);
            connect(action, &QAction::triggered, this, &CellEditing::pasteIntoTextEditor);
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
  if (watched == combo3_) {
    if (event->type() == QEvent::KeyPress) {
      const int code = typedCharacter(*static_cast<QKeyEvent*>(event));
      if (code == 13) {
        grid_->setFocus(Qt::OtherFocusReason);
        return true;
      }
      // Escape types nothing into the text field, and it must not reach a
      // dialog window, which would close and lose its sheet.
      if (code == 27) return true;
    }
    if (event->type() == QEvent::FocusOut && endsEdit(static_cast<QFocusEvent*>(event)) &&
        !focusInOwnList()) {
      commitDropDown();
    }
    return false;
  }
  return QObject::eventFilter(watched, event);
}

}  // namespace orcalc::ui
