#include "common/numeric_reading.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

namespace orcalc {
namespace {

TEST(NumericReading, LeadingNumberOfTheText) {
  const struct {
    const char* text;
    double value;
  } cases[] = {
      // clang-format off
      {"", 0},         {"abc", 0},        {"12", 12},        {"-.5", -0.5},   {"+3", 3},
      {"2.5abc", 2.5}, {"1 2.5", 12.5},   {"  7  ", 7},      {"- 5", -5},     {"5.", 5},
      {".5", 0.5},     {".", 0},          {"-", 0},          {"1e", 1},       {"1e+", 1},
      {"1E3", 1000},   {"1e-2", 0.01},    {"2D2", 200},      {"2d-1", 0.2},   {"1.5E 2", 150},
      {"1 e 2", 100},  {"3\t4", 3},       {"5-3", 5},        {"--5", 0},      {"1.2.3", 1.2},
      {" ≤ ", 0},      {"12abc34", 12},   {"0005", 5},       {"1e2.5", 100},  {"+-1", 0},
      {"1,5", 1},      {"1e-400", 0},     {".e5", 0},        {"1e308", 1e308},
      {"1e-99999999999999999999", 0},     {"4.9406564584124654e-324", 4.9406564584124654e-324},
      // Converted in one correctly rounded step, not digit by digit.
      {"123456789.123456789", 123456789.123456789}, {"6.02214076e23", 6.02214076e23},
      {"0.000000123456789012345", 1.23456789012345e-7},
      // clang-format on
  };
  for (const auto& c : cases) {
    const NumberReading r = ReadNumberChecked(c.text);
    EXPECT_EQ(r.value, c.value) << '"' << c.text << '"';
    EXPECT_FALSE(r.overflow) << c.text;
  }
  const std::string too_large[] = {"1e400", "-1e400", "1e99999999999999999999",
                                   std::string(400, '9')};
  for (const std::string& text : too_large) EXPECT_TRUE(ReadNumberChecked(text).overflow) << text;
}

TEST(NumericReading, IgnoresTheProcessLocale) {
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no German locale";
  EXPECT_EQ(ReadNumber("2.5"), 2.5);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(Counts, WholeNumbersCappedAt500) {
  const std::pair<const char*, int> cases[] = {
      {"", 0},        {"12", 12}, {"0007", 7}, {"600", 500},
      {"1e400", 500}, {"-3", 0},  {"2.9", 2},  {"99999999999999999999999999", 500}};
  for (const auto& [text, count] : cases) EXPECT_EQ(ReadCount(text), count) << text;
  EXPECT_EQ(ClampCount(std::nan("")), 0);
}

}  // namespace
}  // namespace orcalc
