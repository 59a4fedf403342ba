#include "common/number_text.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

namespace orcalc {
namespace {

TEST(NumberText, PlainAndSignedFormsAndTheSeparator) {
  const double inf = std::numeric_limits<double>::infinity();
  // Value, plain text, signed text. The forms of
  // finite values are compared with printf below; these are the ones it
  // does not decide (the sign of zero, infinities, not-a-number) and the
  // leading point of the signed form.
  // clang-format off
  const struct { double value; const char *plain, *signed_text; } rows[] = {
      {3, "3", " 3"}, {-2.5, "-2.5", "-2.5"}, {0.5, "0.5", " .5"}, {-0.5, "-0.5", "-.5"},
      {0.1 + 0.2, "0.3", " .3"}, {1.5e20, "1.5E+20", " 1.5E+20"}, {-0.0, "0", " 0"},
      {inf, "inf", " inf"}, {-inf, "-inf", "-inf"}, {std::nan(""), "nan", " nan"},
  };
  // clang-format on
  for (const auto& row : rows) {
    EXPECT_EQ(PlainNumber(row.value), row.plain) << row.value;
    EXPECT_EQ(SignedNumber(row.value), row.signed_text) << row.value;
  }
  // Plain texts take the decimal separator.
  EXPECT_EQ(PlainNumber(1.5e-7, ","), "1,5E-07");
  EXPECT_EQ(PlainNumber(0.25, "\xD9\xAB"), std::string("0\xD9\xAB") + "25");
  // The longest text with the longest separator still fits the buffer.
  EXPECT_LE(PlainNumber(-0.000123456789012345, "\xD9\xAB\xD9\xAB").size(), kNumberTextCapacity);
}

// Both forms against printf's "%.15g", which rounds to 15 significant
// digits and switches to the exponent form at the same points.
TEST(NumberText, SameAsFifteenDigitPrintf) {
  std::mt19937_64 random(16);
  auto expected_plain = [](double value) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.15G", value == 0 ? 0.0 : value);
    return std::string(buffer);
  };
  auto expected_signed = [&](double value) {
    std::string text = expected_plain(value);
    if (text[0] != '-') text.insert(text.begin(), ' ');
    if (text.compare(1, 2, "0.") == 0) text.erase(1, 1);
    return text;
  };
  for (int round = 0; round < 100000; ++round) {
    // Any bit pattern, whole numbers around the 15-digit edge, and decimals
    // with few digits, the way sheets hold them.
    const double any = std::bit_cast<double>(random());
    const double whole =
        std::ldexp(static_cast<double>(random() >> 11), -static_cast<int>(random() % 12));
    const double decimal =
        static_cast<double>(static_cast<long long>(random() % 2000001) - 1000000) /
        std::pow(10.0, static_cast<double>(random() % 8));
    for (const double value : {any, whole, -whole, decimal, std::round(any)}) {
      if (!std::isfinite(value)) continue;
      ASSERT_EQ(PlainNumber(value), expected_plain(value)) << value;
      ASSERT_EQ(SignedNumber(value), expected_signed(value)) << value;
    }
  }
}

}  // namespace
}  // namespace orcalc
