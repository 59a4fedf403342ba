// Descriptive statistics of a sample: mean, deviations, moments, extremes
// and median.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace orcalc::stats {

inline constexpr const char* kTooFewSamplesMessage = "样本数必须大于2 ";
inline constexpr const char* kZeroVarianceMessage = "当方差为 0 时不能计算斜差和峰态!";

// `data` holds the samples at indexes 1..N (index 0 is unused) and must have
// at least N+1 entries. Sets the nine outputs and sorts data[1..N] ascending;
// returns the messages to show, in order.
//
// With N <= 1 nothing is set or sorted and the result is the too-few-samples
// message. With a variance of exactly 0 the skewness and kurtosis are 0 and
// the result is the zero-variance message. When every sample is the same
// number, the mean is that number, so such samples always take the
// zero-variance path (summing and dividing could otherwise leave a tiny
// spread for values such as 0.1 and blow the moments up).
std::vector<std::string> MOMENT(std::vector<double>& data, int N, std::optional<double>& AVE,
                                std::optional<double>& ADEV, std::optional<double>& SDEV,
                                std::optional<double>& VAR, std::optional<double>& SKEW,
                                std::optional<double>& CURT, std::optional<double>& Minn,
                                std::optional<double>& Maxx, std::optional<double>& XMED);

}  // namespace orcalc::stats
