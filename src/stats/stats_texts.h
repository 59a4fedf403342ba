// The statistics' own texts: messages, title and report labels, in one
// place.
#pragma once

namespace orcalc::stats {

inline constexpr const char* kStatsTitle = "统计结果";
inline constexpr const char* kNoColumnMessage =
    "您没有选择要统计数据的列！请在要统计的数据列上单击后再统计！";
inline constexpr const char* kTooFewSamplesMessage = "样本数必须大于2 ";
inline constexpr const char* kZeroVarianceMessage = "当方差为 0 时不能计算斜差和峰态!";

}  // namespace orcalc::stats
