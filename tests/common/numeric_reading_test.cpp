#include "common/numeric_reading.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace orcalc {
namespace {

TEST(NumericReading, LeadingNumberOfTheText) {
  // clang-format off
  const struct { const char* text; double value; } cases[] = {
      {"", 0},         {"abc", 0},        {"-.5", -0.5},     {"+3", 3},       {"2.5abc", 2.5},
      {"1 2.5", 12.5}, {"  7  ", 7},      {"- 5", -5},       {"5.", 5},       {".", 0},
      {"1e+", 1},      {"1e-2", 0.01},    {"2D2", 200},      {"2d-1", 0.2},   {"1.5E 2", 150},
      {"3\t4", 3},     {"5-3", 5},        {"--5", 0},        {"1.2.3", 1.2},  {" ≤ ", 0},
      {"1e2.5", 100},  {"+-1", 0},        {"1,5", 1},        {"1e-400", 0},   {".e5", 0},
      {"1e-99999999999999999999", 0},     {"4.9406564584124654e-324", 4.9406564584124654e-324},
      // Converted in one correctly rounded step, not digit by digit.
      {"123456789.123456789", 123456789.123456789}, {"6.02214076e23", 6.02214076e23},
      {"0.000000123456789012345", 1.23456789012345e-7},
  };
  // clang-format on
  for (const auto& c : cases) {
    const NumberReading r = ReadNumberChecked(c.text);
    EXPECT_EQ(r.value, c.value) << '"' << c.text << '"';
    EXPECT_FALSE(r.overflow) << c.text;
  }
  for (std::string text : {"1e400", "-1e400", "1e99999999999999999999"})
    EXPECT_TRUE(ReadNumberChecked(text).overflow) << text;
  EXPECT_TRUE(ReadNumberChecked(std::string(400, '9')).overflow);
}

TEST(NumericReading, IgnoresTheProcessLocale) {
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no German locale";
  EXPECT_EQ(ReadNumber("2.5"), 2.5);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Counts, WholeNumbersCappedAt500) {
  const std::pair<const char*, int> cases[] = {{"", 0},
                                               {"0007", 7},
                                               {"600", 500},
                                               {"1e400", 500},
                                               {"-3", 0},
                                               {"2.9", 2},
                                               {"99999999999999999999999999", 500}};
  for (const auto& [text, count] : cases) EXPECT_EQ(ReadCount(text), count) << text;
  EXPECT_EQ(ClampCount(std::nan("")), 0);
}

}  // namespace
}  // namespace orcalc
