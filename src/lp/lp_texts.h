// The linear-programming sheet's own texts: messages, titles and layout
// labels, in one place.
#pragma once

#include <string_view>

namespace orcalc::lp {

// Messages of a calculation, in the order they are shown.
// An opened sheet file that is not a linear-programming sheet; the kind's
// name in the messages naming a cell that differs from the layout.
inline constexpr const char* kNotLpSheetMessage = "不是线性规划表格：至少要有 2 行、3 列";
inline constexpr const char* kLpSheetKind = "线性规划";

inline constexpr const char* kUnboundedMessage = "无解！";
inline constexpr const char* kNoOptimumMessage = "无最优解！";
inline constexpr const char* kIterationLimitMessage = "迭代次数超过限制，未求得最优解！";
// The final point breaks one of its own constraints (or x >= 0) beyond the
// round-off of the row's own terms; without the check against the problem
// as read, a basic variable (a variable, slack or surplus) below -epsilon.
inline constexpr const char* kConstraintsBrokenMessage = "计算结果不满足约束条件，结果不可信！";
// An optimum whose point holds but which could not be confirmed on the
// problem as read (some reduced cost on the wrong side of 0 beyond its own
// round-off); without that check, a decision that only the tolerance made.
inline constexpr const char* kTinyCoefficientMessage =
    "系数绝对值过小（不超过0.0001），以上结果可能不准确！";
// A verdict of "无解！" or "无最优解！" that could not be confirmed on the
// problem as read: no ray the objective improves along, or no combination
// of the rows that rules every point out.
inline constexpr const char* kUnboundedUnverifiedMessage =
    "未能验证目标函数无界，以上结果可能不准确！";
inline constexpr const char* kInfeasibleUnverifiedMessage =
    "未能验证问题无可行解，以上结果可能不准确！";

// The sheet's layout.
inline constexpr const char* kObjectiveRowLabel = "目标函数系数";
inline constexpr const char* kConstraintRowLabel = "约束方程";  // followed by its number
inline constexpr const char* kCoefficientLabel = " 系数";       // after "χ" and the number
inline constexpr const char* kSignHeader = "约束符号";
inline constexpr const char* kRightHandSideHeader = "常数项";
inline constexpr const char* kObjectiveSignCell = " ═ ";
inline constexpr const char* kMaximiseCell = " Max ";
inline constexpr const char* kMinimiseCell = " Min ";
inline constexpr std::string_view kLessEqualSign = "≤";
inline constexpr std::string_view kGreaterEqualSign = "≥";

// 图解法.
inline constexpr const char* kGraphEmptyMessage = "可行域为空，问题无可行解";
inline constexpr const char* kGraphUnboundedMessage = "目标函数无界";
inline constexpr const char* kGraphNeedsTwoVariablesMessage = "图解法只适用于两个变量的线性规划！";

// 灵敏度分析.
inline constexpr const char* kSensitivityTitle = "灵敏度分析结果";
inline constexpr const char* kSensitivityNotApplicableMessage =
    "问题没有最优解，不能进行灵敏度分析！";

}  // namespace orcalc::lp
