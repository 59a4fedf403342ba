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
    // Once stopped by the limit, every later check stops at once.
    EXPECT_EQ(ChecksBeforeStop(progress, 64), c.stops ? 0 : 64);
  }
}

TEST(Progress, AStopRequestStopsTheNextCheck) {
  // clang-format off
  const struct { const char* name; bool request; bool limit; double seconds; int checks_before; } cases[] = {
      {"no request, no limit", false, false, 0, 64},
      {"no request, a passed limit", false, true, 0, 10},
      {"a request, no limit", true, false, 0, 0},
      {"a request and a distant limit", true, true, 3600, 0},
      {"a request and a passed limit", true, true, 0, 0},
  };
  // clang-format on
  for (const auto& c : cases) {
    Progress progress;
    if (c.limit) progress.SetTimeLimit(c.seconds);
    // Five checks made before the request (the clock is read at the 16th).
    ChecksBeforeStop(progress, 5);
    if (c.request) progress.RequestStop();
    EXPECT_EQ(ChecksBeforeStop(progress, 64), c.checks_before) << c.name;
  }
}

}  // namespace
}  // namespace orcalc
