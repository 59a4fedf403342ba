// Descriptive statistics of a sample: mean, deviations, moments, extremes
// and median.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orcalc::stats {

struct Moments {
  std::optional<double> mean;
  std::optional<double> average_deviation;
  std::optional<double> standard_deviation;
  std::optional<double> variance;
  std::optional<double> skewness;
  std::optional<double> kurtosis;  // excess kurtosis
  std::optional<double> minimum;
  std::optional<double> maximum;
  std::optional<double> median;
  // The messages to show, in order, and the keyword of each
  // ("too_few_samples", "zero_variance").
  std::vector<std::string> messages;
  std::vector<std::string_view> message_keywords;
};

// The statistics of `samples`.
//
// With fewer than two samples nothing is set and the only message is the
// too-few-samples one. With a variance of exactly 0 the skewness and
// kurtosis are 0 and the message is the zero-variance one. When every
// sample is the same number, the mean is that number, so such samples always
// take the zero-variance path (summing and dividing could otherwise leave a
// tiny spread for values such as 0.1 and blow the moments up).
Moments ComputeMoments(std::vector<double> samples);

}  // namespace orcalc::stats
