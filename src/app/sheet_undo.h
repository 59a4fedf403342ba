// The steps of a sheet window's undo stack: changed cells, and whole states
// of the window (sheet, counts, sense) around a re-layout or an open.
#pragma once

#include <QString>
#include <QUndoCommand>
#include <functional>
#include <string>
#include <tuple>
#include <vector>

#include "common/sheet.h"

namespace orcalc::ui {

class SheetGrid;

struct CellChange {
  int row = 0;
  int col = 0;
  QString before;
  QString after;
};

// Cells written by an edit, a paste, a cut or a clear. The change is in the
// grid already when the step is pushed.
class CellChangesCommand : public QUndoCommand {
 public:
  CellChangesCommand(SheetGrid* grid, std::vector<CellChange> changes, const QString& text);
  void undo() override;
  void redo() override;

 private:
  void apply(bool forward);
  SheetGrid* grid_;
  std::vector<CellChange> changes_;
  bool done_ = true;
};

// A sheet kept small: its shape, column widths and the cells that hold text.
struct SheetSnapshot {
  int rows = 0;
  int cols = 0;
  std::vector<int> widths;
  std::vector<std::tuple<int, int, std::string>> texts;

  static SheetSnapshot of(const Sheet& sheet);
  Sheet sheet() const;
};

// What a re-layout or an open changes besides cells.
struct WindowState {
  SheetSnapshot sheet;
  QString variables;  // the variable-count box
  QString rows;       // the constraint-count box
  bool maximise = false;
  bool calculate_enabled = false;
  std::vector<std::string> variable_types;  // the types record's fields; empty: none
};

// A step between two whole window states; `restore` puts one back.
class WindowStateCommand : public QUndoCommand {
 public:
  using Restore = std::function<void(const WindowState&)>;
  WindowStateCommand(WindowState before, WindowState after, Restore restore, const QString& text);
  void undo() override;
  void redo() override;

 private:
  WindowState before_;
  WindowState after_;
  Restore restore_;
  bool done_ = true;
};

}  // namespace orcalc::ui
