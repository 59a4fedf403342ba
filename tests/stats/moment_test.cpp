// MOMENT on its own: equal samples and what it leaves unset or unsorted.
#include "stats/moment.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace orcalc::stats {
namespace {

struct Outputs {
  std::optional<double> AVE, ADEV, SDEV, VAR, SKEW, CURT, Minn, Maxx, XMED;
  std::vector<std::string> messages;
};

Outputs RunMoment(std::vector<double>& data, int N) {
  Outputs o;
  o.messages = MOMENT(data, N, o.AVE, o.ADEV, o.SDEV, o.VAR, o.SKEW, o.CURT, o.Minn, o.Maxx, o.XMED);
  return o;
}

TEST(Moment, TooFewSamplesSetNothingAndLeaveDataUnsorted) {
  std::vector<double> data = {99, 5, 3};
  const Outputs o = RunMoment(data, 1);
  EXPECT_EQ(o.messages, std::vector<std::string>{"样本数必须大于2 "});
  EXPECT_EQ(data, (std::vector<double>{99, 5, 3}));
  EXPECT_FALSE(o.AVE || o.SDEV || o.Minn || o.XMED);
}

TEST(Moment, EqualSamplesHaveNoSpreadWhateverTheirValue) {
  // Values whose sum divided by the count is not the value itself.
  for (double value : {0.1, 0.7, -3.3, 1e-300}) {
    std::vector<double> data(8, value);
    const Outputs o = RunMoment(data, 7);
    EXPECT_EQ(o.messages, std::vector<std::string>{"当方差为 0 时不能计算斜差和峰态!"}) << value;
    EXPECT_EQ(*o.AVE, value);
    EXPECT_EQ(*o.VAR, 0);
    EXPECT_EQ(*o.ADEV, 0);
    EXPECT_EQ(*o.SKEW, 0);
    EXPECT_EQ(*o.CURT, 0);
  }

  // Only exactly equal samples are special: a real, tiny spread keeps its
  // moments (one point of three set apart: skewness 2√3/9).
  std::vector<double> data = {0, 0.1, 0.1, 0.1000000001};
  const Outputs o = RunMoment(data, 3);
  EXPECT_TRUE(o.messages.empty());
  EXPECT_NEAR(*o.SKEW, 0.3849, 1e-4);
}

}  // namespace
}  // namespace orcalc::stats
