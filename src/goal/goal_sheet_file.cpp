#include "goal/goal_sheet_file.h"

#include "common/common_texts.h"
#include "common/numeric_reading.h"
#include "common/sheet_layout.h"
#include "common/sheet_shape.h"
#include "goal/goal_commands.h"
#include "goal/goal_texts.h"

namespace orcalc::goal {

GoalSheetFit FitGoalSheet(const Sheet& sheet) {
  GoalSheetFit fit;
  constexpr SheetLayout layout = kGoalSheetLayout;
  if (sheet.rows() < layout.SmallestRows() || sheet.cols() < layout.SmallestCols()) {
    fit.mismatch = kNotGoalSheetMessage;
    return fit;
  }
  fit.goals = layout.CountFromRows(sheet.rows());
  fit.variables = layout.VariablesFromCols(sheet.cols());
  if (fit.goals > kMaxCount || fit.variables > kMaxCount) {
    fit.mismatch = kSheetTooLargeMessage;
    return fit;
  }
  Sheet laid_out;
  LayOutSheet(laid_out, fit.goals, fit.variables);
  const std::string headers = SheetMismatch(sheet, laid_out, kGoalSheetKind);
  fit.as_laid_out = headers.empty();
  if (fit.as_laid_out) return fit;
  fit.mismatch = sheet.rows() == laid_out.rows() && sheet.cols() == laid_out.cols()
                     ? SignColumnMismatch(sheet, layout.SignCol(fit.variables),
                                          layout.first_count_row, kGoalSheetKind)
                     : headers;
  return fit;
}

}  // namespace orcalc::goal
