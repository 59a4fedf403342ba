#include "stepsview/steps_table_model.h"

#include <QBrush>
#include <QColor>
#include <algorithm>

#include "steps/step_summary.h"

namespace orcalc::ui {
namespace {

// The colours of the pivot cell and of the heading cells.
const QColor kPivotText(176, 0, 0);
const QColor kPivotBack(255, 228, 196);
const QColor kHeadingBack(236, 236, 236);
// A column phase 2 keeps out of the basis.
const QColor kBarredText(128, 128, 128);

}  // namespace

StepsTableModel::StepsTableModel(QObject* parent) : QAbstractTableModel(parent) {
  style_.number = [this](const steps::StepNumber& number) {
    return steps::ShownNumber(number, decimals_);
  };
  style_.name = [](const steps::StepColumn& column) { return column.name; };
}

void StepsTableModel::showTable(const steps::StepsDocument* doc, std::size_t index, bool decimals,
                                bool conceal_pivot) {
  beginResetModel();
  doc_ = doc;
  table_ = doc && index < doc->tableaux.size() ? &doc->tableaux[index] : nullptr;
  decimals_ = decimals;
  conceal_ = conceal_pivot;
  goal_grid_.clear();
  if (doc && table_ && doc->goal) {
    goal_grid_ = steps::TableGrid(*doc, *table_, style_);
    size_ = {static_cast<int>(goal_grid_.size()),
             goal_grid_.empty() ? 0 : static_cast<int>(goal_grid_.front().size())};
  } else {
    size_ = table_ ? steps::TableGridSize(*table_) : steps::GridSize{};
  }
  endResetModel();
}

int StepsTableModel::rowCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : size_.rows;
}

int StepsTableModel::columnCount(const QModelIndex& parent) const {
  return parent.isValid() ? 0 : size_.columns;
}

steps::GridCell StepsTableModel::cell(int row, int column) const {
  if (!table_ || row < 0 || column < 0 || row >= size_.rows || column >= size_.columns) return {};
  steps::GridCell grid_cell =
      doc_->goal ? goal_grid_[static_cast<std::size_t>(row)][static_cast<std::size_t>(column)]
                 : steps::TableGridCell(*doc_, *table_, style_, row, column);
  if (conceal_) {
    grid_cell.pivot = false;
    if (column == size_.columns - 1) grid_cell.text.clear();  // θ
  }
  return grid_cell;
}

bool StepsTableModel::tableauCell(int row, int column, int& tableau_row,
                                  int& tableau_column) const {
  if (!table_ || doc_->goal || row < 2 || row >= size_.rows - 1 || column < 3 ||
      column >= size_.columns - 1)
    return false;
  tableau_row = row - 2;
  tableau_column = table_->shown[static_cast<std::size_t>(column - 3)];
  return true;
}

bool StepsTableModel::barred(int column) const {
  if (!table_ || doc_->goal || table_->barred.empty() || column < 3 || column >= size_.columns - 1)
    return false;
  const int shown = table_->shown[static_cast<std::size_t>(column - 3)];
  return std::find(table_->barred.begin(), table_->barred.end(), shown) != table_->barred.end();
}

QVariant StepsTableModel::data(const QModelIndex& index, int role) const {
  if (!index.isValid() || !table_) return {};
  const steps::GridCell grid_cell = cell(index.row(), index.column());
  switch (role) {
    case Qt::DisplayRole: {
      const QString text = QString::fromStdString(grid_cell.text);
      return grid_cell.pivot ? QStringLiteral("[%1]").arg(text) : text;
    }
    case Qt::TextAlignmentRole:
      return QVariant::fromValue(Qt::AlignVCenter |
                                 (grid_cell.heading ? Qt::AlignHCenter : Qt::AlignRight));
    case Qt::BackgroundRole:
      if (grid_cell.pivot) return QBrush(kPivotBack);
      if (grid_cell.heading) return QBrush(kHeadingBack);
      return {};
    case Qt::ForegroundRole:
      if (grid_cell.pivot) return QBrush(kPivotText);
      return barred(index.column()) ? QVariant(QBrush(kBarredText)) : QVariant();
    case Qt::ToolTipRole:
      return barred(index.column())
                 ? QVariant(QStringLiteral("第二阶段不再进基：进基会使仍在基中的人工变量取正值"))
                 : QVariant();
    default:
      return {};
  }
}

}  // namespace orcalc::ui
