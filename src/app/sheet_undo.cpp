#include "app/sheet_undo.h"

#include "sheet/sheet_grid.h"

namespace orcalc::ui {

CellChangesCommand::CellChangesCommand(SheetGrid* grid, std::vector<CellChange> changes,
                                       const QString& text)
    : QUndoCommand(text), grid_(grid), changes_(std::move(changes)) {}

void CellChangesCommand::undo() { apply(false); }

void CellChangesCommand::redo() {
  // Pushing the step runs redo once: the change is already made.
  if (done_) {
    done_ = false;
    return;
  }
  apply(true);
}

void CellChangesCommand::apply(bool forward) {
  for (const CellChange& change : changes_) {
    grid_->setText(change.row, change.col, forward ? change.after : change.before);
  }
}

SheetSnapshot SheetSnapshot::of(const Sheet& sheet) {
  SheetSnapshot snapshot;
  snapshot.rows = sheet.rows();
  snapshot.cols = sheet.cols();
  for (int c = 0; c < sheet.cols(); ++c) snapshot.widths.push_back(sheet.ColumnWidth(c));
  for (int r = 0; r < sheet.rows(); ++r) {
    for (int c = 0; c < sheet.cols(); ++c) {
      if (!sheet.Cell(r, c).empty()) snapshot.texts.emplace_back(r, c, sheet.Cell(r, c));
    }
  }
  return snapshot;
}

Sheet SheetSnapshot::sheet() const {
  Sheet sheet(rows, cols);
  for (int c = 0; c < cols; ++c) {
    if (widths[static_cast<std::size_t>(c)] != Sheet::kDefaultWidth)
      sheet.SetColumnWidth(c, widths[static_cast<std::size_t>(c)]);
  }
  for (const auto& [r, c, text] : texts) sheet.SetCell(r, c, text);
  return sheet;
}

WindowStateCommand::WindowStateCommand(WindowState before, WindowState after, Restore restore,
                                       const QString& text)
    : QUndoCommand(text),
      before_(std::move(before)),
      after_(std::move(after)),
      restore_(std::move(restore)) {}

void WindowStateCommand::undo() { restore_(before_); }

void WindowStateCommand::redo() {
  if (done_) {
    done_ = false;
    return;
  }
  restore_(after_);
}

}  // namespace orcalc::ui
