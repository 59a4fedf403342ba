// Cell texts read exactly by the rules of numeric reading, and the texts
// that fall back to the double the calculation used.
#include "steps/exact_reading.h"

#include <gtest/gtest.h>

#include "common/numeric_reading.h"

namespace orcalc::steps {
namespace {

struct ReadingCase {
  const char* text;
  const char* exact;  // the fraction, as GMP writes it
  bool from_text;
};

const ReadingCase kReadings[] = {
    // clang-format off
    {"0.1", "1/10", true}, {"3", "3", true}, {"-.5", "-1/2", true}, {"+2.25", "9/4", true},
    // clang-format on
    {" 1 2 . 5 ", "25/2", true},  // blanks inside the number are skipped
    {"2.5abc", "5/2", true},      // reading stops at the letters
    {"abc", "0", true},           // no number reads as 0
    {"", "0", true},
    {"1E-2", "1/100", true},
    {"1.5D3", "1500", true},  // D is an exponent letter too
    {"2e", "2", true},        // no digit after the letter: no exponent
    {"2e+", "2", true},
    {"0.333333333333333333333", "333333333333333333333/1000000000000000000000", true},
    {"0x10", "0", true},            // hex is not read: "0", then a letter
    {"1e-400", "0", false},         // below a double: the calculation used 0
    {"-1e-400", "0", false},        // and a negative 0 must not flip a row
    {"1e99999999999", "0", false},  // beyond a double: the intake refuses it
};

TEST(ExactReading, TextsReadExactly) {
  for (const ReadingCase& c : kReadings) {
    const ExactReading reading = ReadExactNumber(c.text, ReadNumber(c.text));
    EXPECT_EQ(reading.value.get_str(), c.exact) << "'" << c.text << "'";
    EXPECT_EQ(reading.from_text, c.from_text) << "'" << c.text << "'";
  }
}

TEST(ExactReading, ValueOtherThanTheTextsFallsBack) {
  // A double that is not the nearest to the text is what was used.
  const ExactReading reading = ReadExactNumber("0.1", 0.2);
  EXPECT_FALSE(reading.from_text);
  EXPECT_EQ(reading.value, mpq_class(0.2));
}

TEST(ExactReading, SubnormalTextIsExact) {
  // 4e-320 is a subnormal double; the exact value is still the text's.
  const ExactReading reading = ReadExactNumber("4e-320", ReadNumber("4e-320"));
  EXPECT_TRUE(reading.from_text);
  mpq_class expected(mpz_class(4), mpz_class("1" + std::string(320, '0')));
  expected.canonicalize();
  EXPECT_EQ(reading.value, expected);
}

}  // namespace
}  // namespace orcalc::steps
