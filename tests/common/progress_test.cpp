#include "common/progress.h"

#include <gtest/gtest.h>

#include <limits>

namespace orcalc {
namespace {

// How many checks a calculation makes before it stops, out of `checks`.
int ChecksBeforeStop(Progress& progress, int checks) {
  for (int i = 0; i < checks; ++i) {
    if (progress.ShouldStop()) return i;
  }
  return checks;
}

TEST(Progress, TimeLimitsBeyondTheClockNeverStop) {
  constexpr double kInfinity = std::numeric_limits<double>::infinity();
  // The clock is read every 16th check: a limit that has passed stops the
  // calculation by then; one that cannot pass during the test never does.
  constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
  // clang-format off
  const struct { double seconds; bool stops; } cases[] = {
      {0, true}, {-1, true}, {-1e300, true}, {-kInfinity, true},
      {3600, false}, {1e9, false}, {1e10, false}, {9.3e9, false}, {1e300, false},
      {kInfinity, false}, {kNaN, false},
  };
  // clang-format on
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seconds);
    Progress progress;
    progress.SetTimeLimit(c.seconds);
    EXPECT_EQ(ChecksBeforeStop(progress, 64), c.stops ? 15 : 64);
    EXPECT_EQ(progress.TimedOut(), c.stops);
    EXPECT_EQ(progress.StopRequested(), c.stops);
  }
}

}  // namespace
}  // namespace orcalc
