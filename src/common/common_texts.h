// The texts every calculation shares, in one place.
#pragma once

namespace orcalc {

// Shown after a calculation's other messages when one of its results (or a
// tolerance it computed) is not a finite number.
inline constexpr const char* kNumericOverflowMessage = "计算过程中数值溢出，结果不可信！";

// "单元格(r,c)的数值超出范围！": a cell whose number is too large for a double.
inline constexpr const char* kCellOverflowStart = "单元格(";
inline constexpr const char* kCellOverflowEnd = ")的数值超出范围！";

// An opened sheet file larger than the windows allow.
inline constexpr const char* kSheetTooLargeMessage = "变量数或约束方程数超过 500";

}  // namespace orcalc
