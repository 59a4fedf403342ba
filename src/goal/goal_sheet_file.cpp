#include "goal/goal_sheet_file.h"

#include "common/common_texts.h"
#include "common/numeric_reading.h"
#include "common/sheet_shape.h"
#include "goal/goal_commands.h"
#include "goal/goal_texts.h"

namespace orcalc::goal {

GoalSheetFit FitGoalSheet(const Sheet& sheet) {
  GoalSheetFit fit;
  if (sheet.rows() < 1 || sheet.cols() < 7) {
    fit.mismatch = kNotGoalSheetMessage;
    return fit;
  }
  fit.goals = sheet.rows() - 1;
  fit.variables = sheet.cols() - 7;
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
                     ? SignColumnMismatch(sheet, sheet.cols() - 6, 1, kGoalSheetKind)
                     : headers;
  return fit;
}

}  // namespace orcalc::goal
