// The integer-programming texts: messages and the report's labels.
#pragma once

namespace orcalc::integer {

inline constexpr const char* kNoWholeSolutionMessage = "问题没有整数可行解！";
inline constexpr const char* kRelaxationUnboundedMessage =
    "松弛问题的目标函数无界，未能求得整数最优解！";
inline constexpr const char* kLimitWithIncumbentMessage =
    "搜索达到限制而停止，所得整数解未经证明为最优！";
inline constexpr const char* kLimitWithoutIncumbentMessage =
    "搜索达到限制而停止，未找到整数可行解！";
inline constexpr const char* kDoubtfulRelaxationMessage =
    "部分松弛问题的结果未能验证，以上结果可能不准确！";
// Sensitivity analysis describes a linear program's optimum only.
inline constexpr const char* kSensitivityNotForIntegerMessage =
    "问题含有整数变量，灵敏度分析不适用！";

inline constexpr const char* kSectionTitle = "-------------整数规划-------------";
// The most lines of the search tree a report lists.
inline constexpr int kMostTreeLines = 2000;

}  // namespace orcalc::integer
