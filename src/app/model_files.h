// Model files for the linear-programming window: a model read and turned
// into a sheet, and the sheet's problem written as a model.
#pragma once

#include <QString>
#include <QStringList>
#include <string>
#include <vector>

#include "common/sheet.h"
#include "lp/lp_problem.h"

namespace orcalc::ui {

struct ImportedModel {
  QString error;  // why the model gives no sheet (Chinese), or empty
  Sheet sheet;
  // The fields of the sheet's variable-types record: the model's integer
  // variables (empty when all are continuous).
  std::vector<std::string> variable_types;
  QStringList notices;  // integer variables whose type could not be kept
};

// The model file at `path`: MPS unless its name ends in ".lp".
ImportedModel importModelFile(const QString& path);

// The open dialog's filter for model files, and the save dialog's.
QString modelOpenFilter();
QString modelSaveFilter();

// Writes `problem` to `path` (CPLEX LP, or MPS when the name ends in
// ".mps") through the guarded writer; why it failed, or empty.
QString exportModelFile(const QString& path, const lp::LpProblem& problem);

}  // namespace orcalc::ui
