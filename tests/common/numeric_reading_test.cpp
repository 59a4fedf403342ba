#include "common/numeric_reading.h"

#include <gtest/gtest.h>
#include <locale.h>
#include <stdlib.h>

#include <bit>
#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
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

// The reader's contract for texts of number characters only: blanks are
// ignored and D is an exponent letter like E; what is left is read as strtod
// reads it in the "C" locale, overflow and underflow included.
NumberReading ReferenceReading(std::string text) {
  std::erase(text, ' ');
  for (char& c : text)
    if (c == 'd' || c == 'D') c = 'e';
  static const locale_t c_locale = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
  errno = 0;
  const double value = strtod_l(text.c_str(), nullptr, c_locale);
  return {value, errno == ERANGE && std::isinf(value)};
}

TEST(NumericReading, SameDoublesAsTheReferenceReading) {
  std::mt19937_64 random(16);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };
  auto digits = [&](int count) {
    std::string text;
    for (int k = 0; k < count; ++k) text += static_cast<char>('0' + pick(0, 9));
    return text;
  };
  const char* const signs[] = {"", "", "-", "+", " - "};
  const char* const letters[] = {"e", "E", "d", "D", "e ", " e"};
  const char* const exponent_signs[] = {"", "+", "-"};
  int compared = 0;
  auto compare = [&](const std::string& text) {
    const NumberReading expected = ReferenceReading(text);
    const NumberReading got = ReadNumberChecked(text);
    // Bit for bit: the sign of zero and every subnormal count.
    EXPECT_EQ(std::bit_cast<std::uint64_t>(got.value), std::bit_cast<std::uint64_t>(expected.value))
        << '"' << text << '"';
    EXPECT_EQ(got.overflow, expected.overflow) << '"' << text << '"';
    ++compared;
  };
  for (int round = 0; round < 200000; ++round) {
    // Any mix of the characters a number is made of (not "x", which strtod
    // would take for a hexadecimal prefix).
    std::string text;
    for (int k = pick(0, 24); k > 0; --k) text += " 0123456789.+-eEdD"[pick(0, 17)];
    compare(text);
    // Numbers in every shape: signs, leading or trailing points, exponents
    // near the ends of a double's range, long mantissas, leading zeros.
    std::string number = signs[pick(0, 4)];
    const int whole = pick(0, 3) == 0 ? 0 : pick(1, pick(0, 5) == 0 ? 400 : 20);
    number += std::string(static_cast<std::size_t>(pick(0, 2)), '0') + digits(whole);
    if (pick(0, 1) || whole == 0) number.append(".").append(digits(pick(whole == 0 ? 1 : 0, 25)));
    if (pick(0, 2)) {
      const int exponent = pick(0, 1) ? pick(-20, 20) : pick(280, 420) * (pick(0, 1) ? 1 : -1);
      number += letters[pick(0, 5)] + std::string(exponent_signs[pick(0, 2)]) +
                std::to_string(std::abs(exponent));
    }
    compare(number);
    // Every double's shortest and 17-digit texts.
    const double value = std::bit_cast<double>(random());
    if (std::isfinite(value)) {
      char buffer[64];
      compare(std::string(buffer, std::to_chars(buffer, buffer + 64, value).ptr));
      std::snprintf(buffer, sizeof buffer, "%.17e", value);
      compare(buffer);
    }
  }
  for (const char* edge :
       {"2.4703282292062327e-324", "2.4703282292062328e-324", "1e-324", "2.2250738585072011e-308",
        "1.7976931348623157e308", "1.7976931348623158e308", "1.797693134862315807e308", "-0",
        "-0e999", "0e-999999999999999999999", "1e0000000000000000000000000000000005"})
    compare(edge);
  EXPECT_GT(compared, 500000);
}

// A locale whose decimal separator is a comma, compiled into a folder of
// its own (localedef, from the locales package) so that the test needs no
// locale installed on the machine.
TEST(NumericReading, IgnoresTheProcessLocale) {
  char folder[] = "/tmp/orcalc-locale-XXXXXX";
  ASSERT_NE(mkdtemp(folder), nullptr);
  const std::string command =
      std::string("localedef -f UTF-8 -i de_DE ") + folder + "/de_DE.UTF-8 >/dev/null 2>&1";
  ASSERT_EQ(std::system(command.c_str()), 0) << "localedef could not build de_DE.UTF-8";
  ASSERT_EQ(setenv("LOCPATH", folder, 1), 0);
  const std::string saved = std::setlocale(LC_NUMERIC, nullptr);
  ASSERT_NE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8"), nullptr);
  EXPECT_STREQ(std::localeconv()->decimal_point, ",");
  EXPECT_EQ(ReadNumber("2.5"), 2.5);
  EXPECT_EQ(ReadNumber("2,5"), 2);
  std::setlocale(LC_NUMERIC, saved.c_str());
  unsetenv("LOCPATH");
  std::filesystem::remove_all(folder);
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
