// The goal-programming sheet's own texts: messages, title and layout
// labels, in one place.
#pragma once

namespace orcalc::goal {

inline constexpr const char* kGoalTitle = "目标规划计算结果";

// An opened sheet file that is not a goal-programming sheet; the kind's
// name in the messages naming a cell that differs from the layout.
inline constexpr const char* kNotGoalSheetMessage = "不是目标规划表格：至少要有 1 行、7 列";
inline constexpr const char* kGoalSheetKind = "目标规划";

// Messages of a calculation that stopped before every level was minimised.
inline constexpr const char* kRoundOffMessage = "ROUNED ERROR IN SOLUSION";
inline constexpr const char* kCyclingMessage = "计算出现循环，停止计算！";
inline constexpr const char* kPivotLimitMessage = "循环次数超过32767次，停止计算！";

// The sheet's layout.
inline constexpr const char* kGoalRowLabel = "约束方程";   // followed by its number
inline constexpr const char* kCoefficientLabel = " 系数";  // after "χ" and the number
// The six columns after the coefficients, left to right.
inline constexpr const char* kTrailingHeaders[] = {
    "约束符号", "常数项", "负偏差权重系数", "负偏差优先等级", "正偏差权重系数", "正偏差优先等级"};

}  // namespace orcalc::goal
