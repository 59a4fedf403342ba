#include "common/numeric_reading.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <string>

#include "common/number_text.h"

namespace orcalc {
namespace {

TEST(NumericReading, LeadingNumberOfTheText) {
  struct Case {
    const char* text;
    double value;
  } cases[] = {
      {"", 0},         {"abc", 0},        {"12", 12},        {"-.5", -0.5},   {"+3", 3},
      {"2.5abc", 2.5}, {"1 2.5", 12.5},   {"  7  ", 7},      {"- 5", -5},     {"5.", 5},
      {".5", 0.5},     {".", 0},          {"-", 0},          {"1e", 1},       {"1e+", 1},
      {"1E3", 1000},   {"1e-2", 0.01},    {"2D2", 200},      {"2d-1", 0.2},   {"1.5E 2", 150},
      {"1 e 2", 100},  {"3\t4", 3},       {"5-3", 5},        {"--5", 0},      {"1.2.3", 1.2},
      {" ≤ ", 0},      {"12abc34", 12},   {"0005", 5},       {"-0", 0},       {"1e2.5", 100},
      {"+-1", 0},      {"1,5", 1},        {"1e-400", 0},     {".e5", 0},
  };
  for (const Case& c : cases) {
    NumberReading r = ReadNumberChecked(c.text);
    EXPECT_EQ(r.value, c.value) << '"' << c.text << '"';
    EXPECT_FALSE(r.overflow) << c.text;
  }
}

TEST(NumericReading, OverflowIsReportedNotReturnedAsANumber) {
  EXPECT_TRUE(ReadNumberChecked("1e400").overflow);
  EXPECT_TRUE(ReadNumberChecked("-1e400").overflow);
  EXPECT_TRUE(ReadNumberChecked(std::string(400, '9')).overflow);
  EXPECT_TRUE(ReadNumberChecked("1e99999999999999999999").overflow);
  EXPECT_FALSE(ReadNumberChecked("1e308").overflow);
  EXPECT_FALSE(ReadNumberChecked("1e-99999999999999999999").overflow);
  EXPECT_EQ(ReadNumber("4.9406564584124654e-324"), 4.9406564584124654e-324);
}

TEST(NumericReading, IgnoresTheProcessLocale) {
  const char* old = std::setlocale(LC_NUMERIC, nullptr);
  std::string saved = old ? old : "C";
  if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) GTEST_SKIP() << "no German locale";
  EXPECT_EQ(ReadNumber("2.5"), 2.5);
  std::setlocale(LC_NUMERIC, saved.c_str());
}

TEST(NumericReading, PlainTextReadsBackToFifteenDigits) {
  const double values[] = {1.0 / 3, -2.5e-7, 123456789.123456789, 6.02214076e23, -1e-300, 0.1 + 0.2};
  for (double x : values) {
    double back = ReadNumber(PlainNumber(x));
    EXPECT_NEAR(back, x, std::fabs(x) * 1e-14) << x;
    EXPECT_EQ(PlainNumber(back), PlainNumber(x));
  }
}

TEST(Counts, WholeNumbersCappedAt500) {
  EXPECT_EQ(ReadCount(""), 0);
  EXPECT_EQ(ReadCount("12"), 12);
  EXPECT_EQ(ReadCount("0007"), 7);
  EXPECT_EQ(ReadCount("600"), 500);
  EXPECT_EQ(ReadCount("99999999999999999999999999"), 500);
  EXPECT_EQ(ReadCount("1e400"), 500);
  EXPECT_EQ(ReadCount("-3"), 0);
  EXPECT_EQ(ReadCount("2.9"), 2);
  EXPECT_EQ(ClampCount(std::nan("")), 0);
}

}  // namespace
}  // namespace orcalc
