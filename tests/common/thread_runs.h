// Runs of a solver with its work split over threads, compared bit for bit.
#pragma once

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <span>
#include <vector>

#include "parallel/thread_pool.h"

namespace orcalc {

// `h` extended by the bits of every value.
inline std::uint64_t BitDigest(std::span<const double> values,
                               std::uint64_t h = 1469598103934665603ull) {
  for (double v : values) h = (h ^ std::bit_cast<std::uint64_t>(v)) * 1099511628211ull;
  return h;
}

// `run(threads)` gives a digest per step of one solve, with the pivot
// threads set: 2 and 4 threads must give the list 1 thread gives. Returns
// the number of steps.
template <typename Run>
std::size_t ExpectSameBitsWithAnyThreads(const Run& run) {
  SetPivotThreads(1);
  const std::vector<std::uint64_t> one = run();
  for (int threads : {2, 4}) {
    SetPivotThreads(threads);
    EXPECT_EQ(run(), one) << threads << " threads";
  }
  SetPivotThreads(0);
  return one.size();
}

}  // namespace orcalc
