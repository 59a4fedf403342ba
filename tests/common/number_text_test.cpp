#include "common/number_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace orcalc {
namespace {

struct Row {
  double value;
  const char* plain;
  const char* signed_text;
};

TEST(NumberText, ExamplesOfBothForms) {
  const Row rows[] = {
      {3, "3", " 3"},
      {0, "0", " 0"},
      {-2.5, "-2.5", "-2.5"},
      {0.5, "0.5", " .5"},
      {-0.5, "-0.5", "-.5"},
      {1.0 / 3.0, "0.333333333333333", " .333333333333333"},
      {0.00001, "1E-05", " 1E-05"},
      {1e15, "1E+15", " 1E+15"},
      {12, "12", " 12"},
      {-7, "-7", "-7"},
      {1.5e20, "1.5E+20", " 1.5E+20"},
      {1e100, "1E+100", " 1E+100"},
      {-1.25e-7, "-1.25E-07", "-1.25E-07"},
      {2.0 / 3.0, "0.666666666666667", " .666666666666667"},
      {123456.789, "123456.789", " 123456.789"},
      {0.05, "0.05", " .05"},
  };
  for (const Row& row : rows) {
    EXPECT_EQ(PlainNumber(row.value), row.plain) << row.value;
    EXPECT_EQ(SignedNumber(row.value), row.signed_text) << row.value;
  }
}

TEST(NumberText, ExponentFormStartsOutsideMinus4To14) {
  EXPECT_EQ(PlainNumber(0.0001), "0.0001");
  EXPECT_EQ(PlainNumber(0.00012345), "0.00012345");
  EXPECT_EQ(PlainNumber(0.000099999), "9.9999E-05");
  EXPECT_EQ(PlainNumber(100000000000000.0), "100000000000000");
  EXPECT_EQ(PlainNumber(999999999999999.0), "999999999999999");
  EXPECT_EQ(PlainNumber(1e15), "1E+15");
  EXPECT_EQ(SignedNumber(0.0001), " .0001");
}

TEST(NumberText, RoundsToFifteenDigitsBeforeChoosingTheForm) {
  // Rounding carries into a new digit and so into the exponent form.
  EXPECT_EQ(PlainNumber(999999999999999.9), "1E+15");
  EXPECT_EQ(PlainNumber(0.1 + 0.2), "0.3");
  EXPECT_EQ(SignedNumber(0.1 + 0.2), " .3");
  EXPECT_EQ(PlainNumber(0.000099999999999999999), "0.0001");
  EXPECT_EQ(PlainNumber(1.0000000000000002), "1");
  EXPECT_EQ(PlainNumber(1234567890.12345678), "1234567890.12346");
  EXPECT_EQ(PlainNumber(1.29099444873580562), "1.29099444873581");
}

TEST(NumberText, NegativeZeroAndNonFiniteValues) {
  EXPECT_EQ(PlainNumber(-0.0), "0");
  EXPECT_EQ(SignedNumber(-0.0), " 0");
  const double inf = std::numeric_limits<double>::infinity();
  EXPECT_EQ(PlainNumber(inf), "inf");
  EXPECT_EQ(PlainNumber(-inf), "-inf");
  EXPECT_EQ(PlainNumber(std::nan("")), "nan");
  EXPECT_EQ(SignedNumber(inf), " inf");
  EXPECT_EQ(SignedNumber(-inf), "-inf");
  EXPECT_EQ(SignedNumber(std::nan("")), " nan");
}

TEST(NumberText, ExtremesFitTheBuffer) {
  EXPECT_EQ(PlainNumber(std::numeric_limits<double>::max()), "1.79769313486232E+308");
  EXPECT_EQ(PlainNumber(-std::numeric_limits<double>::denorm_min()), "-4.94065645841247E-324");
  EXPECT_EQ(PlainNumber(-0.000123456789012345), "-0.000123456789012345");
  EXPECT_LE(PlainNumber(-0.000123456789012345, "\xD9\xAB\xD9\xAB").size(), kNumberTextCapacity);
}

TEST(NumberText, PlainTextTakesTheDecimalSeparator) {
  EXPECT_EQ(PlainNumber(2.5, ","), "2,5");
  EXPECT_EQ(PlainNumber(1.5e-7, ","), "1,5E-07");
  EXPECT_EQ(PlainNumber(0.25, "\xD9\xAB"), "0\xD9\xAB" "25");
  // Signed text always uses ".".
  EXPECT_EQ(SignedNumber(2.5), " 2.5");
}

}  // namespace
}  // namespace orcalc
