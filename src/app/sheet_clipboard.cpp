#include "app/sheet_clipboard.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLineEdit>
#include <QRect>
#include <algorithm>
#include <utility>

#include "app/out_of_memory.h"
#include "common/cell_block.h"
#include "platform/platform.h"
#include "sheet/cell_editing.h"
#include "sheet/sheet_grid.h"

namespace orcalc::ui {

QLineEdit* focusedTextField(const QWidget* window) {
  QWidget* focused = QApplication::focusWidget();
  if (!focused || focused->window() != window) return nullptr;
  if (auto* combo = qobject_cast<QComboBox*>(focused)) return combo->lineEdit();
  return qobject_cast<QLineEdit*>(focused);
}

SheetClipboard::SheetClipboard(QWidget* window, SheetGrid* grid, CellEditing& editing,
                               QLineEdit* numberEditor, BlockLayout layout, PushChanges pushChanges)
    : window_(window),
      grid_(grid),
      editing_(editing),
      numberEditor_(numberEditor),
      layout_(layout),
      pushChanges_(std::move(pushChanges)) {}

void SheetClipboard::copy() {
  if (QLineEdit* field = focusedTextField(window_)) {
    field->copy();
    return;
  }
  const QRect block = grid_->selection();
  if (!grid_->hasCurrentDataCell()) return;
  runGuarded(window_, [&] {
    const std::string text =
        BlockText(grid_->sheet(), block.top(), block.left(), block.bottom(), block.right());
    QGuiApplication::clipboard()->setText(QString::fromStdString(text));
  });
}

void SheetClipboard::cut() {
  if (QLineEdit* field = focusedTextField(window_)) {
    field->cut();
    return;
  }
  copy();
  clear();
}

void SheetClipboard::clear() {
  if (QLineEdit* field = focusedTextField(window_)) {
    field->del();
    return;
  }
  editing_.closeEditors();
  if (!grid_->hasCurrentDataCell()) return;
  const QRect block = grid_->selection();
  std::vector<CellChange> changes;
  for (int r = block.top(); r <= block.bottom(); ++r) {
    for (int c = block.left(); c <= block.right(); ++c) {
      const QString before = grid_->text(r, c);
      if (before.isEmpty() || isFixedCell(r, c)) continue;
      grid_->setText(r, c, QString());
      changes.push_back({r, c, before, QString()});
    }
  }
  pushChanges_(std::move(changes), QStringLiteral("清除"));
}

void SheetClipboard::paste() {
  if (QLineEdit* field = focusedTextField(window_)) {
    if (field == numberEditor_) {
      editing_.pasteIntoNumberEditor();  // through the editor's own filter
    } else {
      field->paste();
    }
    return;
  }
  editing_.closeEditors();
  if (!grid_->hasCurrentDataCell()) return;
  runGuarded(window_, [this] {
    const auto rows = ParseBlockText(QGuiApplication::clipboard()->text().toStdString());
    if (rows.empty()) return;
    std::optional<Paste> paste = planPaste(rows);
    if (!paste) return;
    for (const CellChange& change : paste->changes)
      grid_->setText(change.row, change.col, change.after);
    grid_->extendSelection(paste->bottom, paste->right);
    pushChanges_(std::move(paste->changes), QStringLiteral("粘贴"));
    if (paste->left_out > 0) {
      Platform::current().showMessage(
          window_,
          QStringLiteral("粘贴的内容超出了表格，有 %1 个单元格没有粘贴。").arg(paste->left_out));
    }
  });
}

std::optional<SheetClipboard::Paste> SheetClipboard::planPaste(
    const std::vector<std::vector<std::string>>& rows) const {
  const int top = grid_->currentRow();
  const int left = grid_->currentCol();
  Paste paste;
  paste.bottom = top;
  paste.right = left;
  for (std::size_t i = 0; i < rows.size(); ++i) {
    for (std::size_t j = 0; j < rows[i].size(); ++j) {
      const int row = top + static_cast<int>(i);
      const int col = left + static_cast<int>(j);
      if (!grid_->isDataCell(row, col)) {
        ++paste.left_out;
        continue;
      }
      const std::string& field = rows[i][j];
      // A cell the layout fills keeps its text when the field is one it
      // can hold (the sheet's own copy pasted back).
      if (isFixedCell(row, col) && fixedCellTakes(row, col, field)) continue;
      const std::optional<std::string> stored = pastedText(row, col, field);
      if (!stored) {
        Platform::current().showMessage(
            window_,
            QStringLiteral("无法粘贴：第 %1 行第 %2 列（%3，%4）不能填入“%5”。表格没有改变。")
                .arg(row)
                .arg(col)
                .arg(grid_->text(row, 0), grid_->text(0, col), QString::fromStdString(field)));
        return std::nullopt;
      }
      paste.bottom = std::max(paste.bottom, row);
      paste.right = std::max(paste.right, col);
      const std::string now = grid_->sheet().Cell(row, col);
      if (*stored != now)
        paste.changes.push_back(
            {row, col, QString::fromStdString(now), QString::fromStdString(*stored)});
    }
  }
  return paste;
}

std::optional<std::string> SheetClipboard::pastedText(int row, int col,
                                                      const std::string& field) const {
  const int sign_column = grid_->cols() - layout_.sign_column_from_right;
  std::optional<std::string> stored =
      col == sign_column ? PastedSignText(field) : PastedNumberText(field);
  if (stored) return stored;
  // A cell's own text (copied from the cell and pasted back) is kept.
  const std::string now = grid_->sheet().Cell(row, col);
  if (QString::fromStdString(field).trimmed() == QString::fromStdString(now).trimmed()) return now;
  return std::nullopt;
}

bool SheetClipboard::isFixedCell(int row, int col) const {
  return row == layout_.fixed_trailing_row && col >= grid_->cols() - layout_.trailing_cols;
}

bool SheetClipboard::fixedCellTakes(int row, int col, const std::string& field) const {
  const QString text = QString::fromStdString(field).trimmed();
  if (text == grid_->text(row, col).trimmed()) return true;
  // The sense cell holds either sense.
  return col == grid_->cols() - 1 &&
         (text == QStringLiteral("Max") || text == QStringLiteral("Min"));
}

}  // namespace orcalc::ui
