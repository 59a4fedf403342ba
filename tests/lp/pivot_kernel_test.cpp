// The dispatching pivot kernel gives the bits of the plain written loop.
#include "lp/pivot_kernel.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <vector>

namespace orcalc::lp::detail {
namespace {

TEST(PivotKernel, BitIdenticalToThePlainLoop) {
  std::mt19937_64 random(2024);
  std::uniform_real_distribution<double> value(-1e3, 1e3);
  for (int trial = 0; trial < 40; ++trial) {
    const std::size_t rows = 1 + trial * 7 % 37, width = kRowQuantum * (1 + trial % 9);
    const std::size_t stride = width + (trial % 2 ? kRowQuantum : 0), count = rows * stride;
    std::vector<double> expected(count);
    // Zeros of both signs, tiny and huge magnitudes, products that round:
    // any fused or reordered operation would show.
    const double scales[] = {0.0, -0.0, 1e-300, 1e300, 1.0 / 3, 1.0 / 3, 1.0 / 7, 1.0};
    for (double& v : expected) v = value(random) * scales[random() % 8];
    const std::size_t r = random() % rows, k = random() % width;
    expected[r * stride + k] = 1.0 + value(random) * value(random);

    auto* actual = static_cast<double*>(
        ::operator new[](count * sizeof(double), std::align_val_t(kTableauAlignment)));
    std::memcpy(actual, expected.data(), count * sizeof(double));
    PivotTableau(actual, stride, rows, width, r, k);

    double* t = expected.data();
    const double q = t[r * stride + k];
    for (std::size_t j = 0; j < width; ++j) t[r * stride + j] = t[r * stride + j] / q;
    for (std::size_t i = 0; i < rows; ++i) {
      const double f = t[i * stride + k];
      if (i == r || f == 0.0) continue;
      for (std::size_t j = 0; j < width; ++j)
        t[i * stride + j] = t[i * stride + j] - t[r * stride + j] * f;
    }
    EXPECT_EQ(0, std::memcmp(actual, expected.data(), count * sizeof(double))) << "trial " << trial;
    ::operator delete[](actual, std::align_val_t(kTableauAlignment));
  }
}

}  // namespace
}  // namespace orcalc::lp::detail
