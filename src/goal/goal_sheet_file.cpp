#include "goal/goal_sheet_file.h"

#include "common/numeric_reading.h"
#include "common/sheet_shape.h"
#include "goal/goal_commands.h"

namespace orcalc::goal {

GoalSheetFit FitGoalSheet(const Sheet& sheet) {
  GoalSheetFit fit;
  if (sheet.rows() < 1 || sheet.cols() < 7) {
    fit.mismatch = "不是目标规划表格：至少要有 1 行、7 列";
    return fit;
  }
  fit.goals = sheet.rows() - 1;
  fit.variables = sheet.cols() - 7;
  if (fit.goals > kMaxCount || fit.variables > kMaxCount) {
    fit.mismatch = "变量数或约束方程数超过 500";
    return fit;
  }
  Sheet laid_out;
  LayOutSheet(laid_out, fit.goals, fit.variables);
  fit.mismatch = SheetMismatch(sheet, laid_out, "目标规划");
  return fit;
}

}  // namespace orcalc::goal
