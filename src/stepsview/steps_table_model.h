// One table of the steps for a table view, in the textbook's layout: the
// c_j row, the heading row (C_B, X_B, b, the variables, θ), a row per basic
// variable and the σ_j row (a goal table: its levels' evaluation rows
// P1, P2, … instead, the level being minimised starred); the pivot bracketed and coloured. The
// cells' texts are made as the view asks for them, so that a large table opens at once; the
// document is the caller's and must outlive the model.
#pragma once

#include <QAbstractTableModel>
#include <cstddef>

#include "steps/step_grid_cell.h"
#include "steps/step_tableau.h"

namespace orcalc::ui {

class StepsTableModel : public QAbstractTableModel {
  Q_OBJECT

 public:
  explicit StepsTableModel(QObject* parent = nullptr);

  // Shows table `index` of `doc` (null: nothing), its numbers in decimals
  // when `decimals`; without its pivot's mark and θ when `conceal_pivot`
  // (while the user picks the pivot).
  void showTable(const steps::StepsDocument* doc, std::size_t index, bool decimals,
                 bool conceal_pivot = false);

  int rowCount(const QModelIndex& parent = QModelIndex()) const override;
  int columnCount(const QModelIndex& parent = QModelIndex()) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

  // The grid cell at (row, column) of the view.
  steps::GridCell cell(int row, int column) const;
  // The tableau's row and column (into StepsDocument::columns) behind a
  // cell of the view; false for the heading rows, σ_j and the other columns.
  bool tableauCell(int row, int column, int& tableau_row, int& tableau_column) const;

 private:
  // Column `column` of the grid is a variable phase 2 keeps out of the basis.
  bool barred(int column) const;

  const steps::StepsDocument* doc_ = nullptr;
  const steps::StepTableau* table_ = nullptr;
  steps::GridSize size_;
  steps::GridStyle style_;
  bool decimals_ = false;
  bool conceal_ = false;
  // A goal program's table (a few rows and columns, the evaluation rows of
  // its levels below) is made whole when it is shown.
  steps::Grid goal_grid_;
};

}  // namespace orcalc::ui
