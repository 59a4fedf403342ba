#include "stats/moment.h"

#include <cmath>
#include <utility>

namespace orcalc::stats {
namespace {

bool AllEqual(const std::vector<double>& data, int N) {
  for (int j = 2; j <= N; ++j) {
    if (!(data[j] == data[1])) return false;
  }
  return true;
}

}  // namespace

std::vector<std::string> MOMENT(std::vector<double>& data, int N, std::optional<double>& AVE,
                                std::optional<double>& ADEV, std::optional<double>& SDEV,
                                std::optional<double>& VAR, std::optional<double>& SKEW,
                                std::optional<double>& CURT, std::optional<double>& Minn,
                                std::optional<double>& Maxx, std::optional<double>& XMED) {
  std::vector<std::string> messages;
  if (N <= 1) {
    messages.emplace_back(kTooFewSamplesMessage);
    return messages;
  }
  const double n = N;

  double ave;
  if (AllEqual(data, N)) {
    ave = data[1];
  } else {
    double s = 0.0;
    for (int j = 1; j <= N; ++j) s += data[j];
    ave = s / n;
  }

  double adev = 0.0, var = 0.0, skew = 0.0, curt = 0.0;
  for (int j = 1; j <= N; ++j) {
    const double d = data[j] - ave;
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
    messages.emplace_back(kZeroVarianceMessage);
  }

  // Bubble sort; the strict comparison never exchanges equal values.
  for (int i = 1; i <= N; ++i) {
    for (int j = 1; j <= N - i; ++j) {
      if (data[j + 1] < data[j]) std::swap(data[j], data[j + 1]);
    }
  }

  const int h = N / 2;
  const double xmed = (N == 2 * h) ? (data[h] + data[h + 1]) * 0.5 : data[h + 1];

  AVE = ave;
  ADEV = adev;
  SDEV = sdev;
  VAR = var;
  SKEW = skew;
  CURT = curt;
  Minn = data[1];
  Maxx = data[N];
  XMED = xmed;
  return messages;
}

}  // namespace orcalc::stats
