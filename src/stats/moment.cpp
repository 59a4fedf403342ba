#include "stats/moment.h"

#include <algorithm>
#include <cmath>

#include "stats/stats_texts.h"

namespace orcalc::stats {

Moments ComputeMoments(std::vector<double> samples) {
  Moments moments;
  const std::size_t count = samples.size();
  if (count <= 1) {
    moments.messages.emplace_back(kTooFewSamplesMessage);
    moments.message_keywords.emplace_back("too_few_samples");
    return moments;
  }
  const auto n = static_cast<double>(count);

  double mean;
  if (std::all_of(samples.begin(), samples.end(),
                  [&](double value) { return value == samples.front(); })) {
    mean = samples.front();
  } else {
    double sum = 0.0;
    for (double value : samples) sum += value;
    mean = sum / n;
  }

  double adev = 0.0, var = 0.0, skew = 0.0, curt = 0.0;
  for (double value : samples) {
    const double d = value - mean;
    adev += std::fabs(d);
    double p = d * d;
    var += p;
    p = p * d;
    skew += p;
    p = p * d;
    curt += p;
  }
  adev = adev / n;
  var = var / (n - 1.0);
  const double sdev = std::sqrt(var);
  if (var != 0.0) {
    skew = skew / (n * std::pow(sdev, 3.0));
    curt = curt / (n * std::pow(var, 2.0)) - 3.0;
  } else {
    moments.messages.emplace_back(kZeroVarianceMessage);
    moments.message_keywords.emplace_back("zero_variance");
  }

  // A stable sort: equal values such as 0 and -0 keep their order, which the
  // minimum, maximum and median shown depend on.
  std::stable_sort(samples.begin(), samples.end());

  const std::size_t h = count / 2;
  moments.median = (count % 2 == 0) ? (samples[h - 1] + samples[h]) * 0.5 : samples[h];
  moments.mean = mean;
  moments.average_deviation = adev;
  moments.standard_deviation = sdev;
  moments.variance = var;
  moments.skewness = skew;
  moments.kurtosis = curt;
  moments.minimum = samples.front();
  moments.maximum = samples.back();
  return moments;
}

}  // namespace orcalc::stats
