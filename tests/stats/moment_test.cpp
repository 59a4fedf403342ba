// MOMENT on its own: what it sets, sorts and says.
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

TEST(Moment, TooFewSamplesSetNothingAndLeaveDataAlone) {
  for (int N : {0, 1}) {
    std::vector<double> data = {99, 5, 3};
    const Outputs o = RunMoment(data, N);
    EXPECT_EQ(o.messages, std::vector<std::string>{"样本数必须大于2 "});
    EXPECT_EQ(data, (std::vector<double>{99, 5, 3}));
    EXPECT_FALSE(o.AVE || o.ADEV || o.SDEV || o.VAR || o.SKEW || o.CURT || o.Minn || o.Maxx ||
                 o.XMED);
  }
}

TEST(Moment, SortsInPlaceAndTakesExtremesAndMedian) {
  // Index 0 is not a sample and stays where it is.
  std::vector<double> odd = {-7, 5, -2, 9, 0, 3};
  Outputs o = RunMoment(odd, 5);
  EXPECT_EQ(odd, (std::vector<double>{-7, -2, 0, 3, 5, 9}));
  EXPECT_EQ(*o.Minn, -2);
  EXPECT_EQ(*o.Maxx, 9);
  EXPECT_EQ(*o.XMED, 3);

  std::vector<double> even = {0, 8, -1, 4, 2};
  o = RunMoment(even, 4);
  EXPECT_EQ(*o.XMED, 3);  // (2 + 4) / 2
  EXPECT_EQ(*o.Minn, -1);
  EXPECT_EQ(*o.Maxx, 8);

  std::vector<double> two = {0, 3, 1};
  o = RunMoment(two, 2);
  EXPECT_EQ(*o.XMED, 2);
  EXPECT_EQ(*o.AVE, 2);
  EXPECT_EQ(*o.VAR, 2);  // divisor N - 1
  EXPECT_TRUE(o.messages.empty());
}

TEST(Moment, SkewnessSignFollowsTheLongTail) {
  std::vector<double> right = {0, 1, 1, 1, 10};
  EXPECT_GT(*RunMoment(right, 4).SKEW, 0);
  std::vector<double> left = {0, -1, -1, -1, -10};
  EXPECT_LT(*RunMoment(left, 4).SKEW, 0);
}

TEST(Moment, EqualSamplesTakeTheZeroVariancePath) {
  // Values whose sum divided by the count is not the value itself.
  for (double value : {0.1, 0.7, -3.3, 1e-300, 123456.789}) {
    std::vector<double> data(8, value);
    const Outputs o = RunMoment(data, 7);
    EXPECT_EQ(o.messages, std::vector<std::string>{"当方差为 0 时不能计算斜差和峰态!"}) << value;
    EXPECT_EQ(*o.AVE, value);
    EXPECT_EQ(*o.VAR, 0);
    EXPECT_EQ(*o.SDEV, 0);
    EXPECT_EQ(*o.ADEV, 0);
    EXPECT_EQ(*o.SKEW, 0);
    EXPECT_EQ(*o.CURT, 0);
    EXPECT_EQ(*o.XMED, value);
  }
}

TEST(Moment, NearlyEqualSamplesAreStillComputed) {
  // Only exactly equal samples are special: a real, tiny spread keeps its
  // moments.
  std::vector<double> data = {0, 0.1, 0.1, 0.1000000001};
  const Outputs o = RunMoment(data, 3);
  EXPECT_TRUE(o.messages.empty());
  EXPECT_GT(*o.VAR, 0);
  EXPECT_NEAR(*o.SKEW, 0.3849, 1e-4);  // 2√3/9: one point of three set apart
}

}  // namespace
}  // namespace orcalc::stats
