#include "common/numeric_reading.h"

#include <cerrno>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <string>

#if defined(_WIN32)
#include <locale.h>
#else
#include <locale.h>
#if defined(__APPLE__)
#include <xlocale.h>
#endif
#endif

namespace orcalc {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// strtod in the "C" locale, whatever locale the program runs in.
double StrtodC(const char* text, bool& range_error) {
  errno = 0;
#if defined(_WIN32)
  static _locale_t c_locale = _create_locale(LC_NUMERIC, "C");
  double value = _strtod_l(text, nullptr, c_locale);
#else
  static locale_t c_locale = newlocale(LC_NUMERIC_MASK, "C", locale_t(nullptr));
  double value = strtod_l(text, nullptr, c_locale);
#endif
  range_error = errno == ERANGE;
  return value;
}

}  // namespace

NumberReading ReadNumberChecked(std::string_view text) {
  // Gather the characters of the number without blanks, then convert them in
  // one correctly rounded step.
  std::string number;
  size_t i = 0;
  const size_t n = text.size();
  auto skip_blanks = [&] {
    while (i < n && text[i] == ' ') ++i;
  };

  skip_blanks();
  if (i < n && (text[i] == '+' || text[i] == '-')) {
    if (text[i] == '-') number.push_back('-');
    ++i;
  }
  bool any_digit = false;
  bool seen_point = false;
  for (;;) {
    skip_blanks();
    if (i >= n) break;
    char c = text[i];
    if (IsDigit(c)) {
      number.push_back(c);
      any_digit = true;
      ++i;
    } else if (c == '.' && !seen_point) {
      number.push_back('.');
      seen_point = true;
      ++i;
    } else {
      break;
    }
  }
  if (!any_digit) return {};

  // Exponent: only taken when at least one digit follows the letter and sign.
  skip_blanks();
  if (i < n && (text[i] == 'E' || text[i] == 'e' || text[i] == 'D' || text[i] == 'd')) {
    size_t j = i + 1;
    auto skip = [&] {
      while (j < n && text[j] == ' ') ++j;
    };
    skip();
    std::string exponent = "e";
    if (j < n && (text[j] == '+' || text[j] == '-')) {
      exponent.push_back(text[j]);
      ++j;
    }
    bool exponent_digit = false;
    for (;;) {
      skip();
      if (j >= n || !IsDigit(text[j])) break;
      // Leading zeros carry nothing; very long exponents only need their
      // magnitude, which strtod handles.
      exponent.push_back(text[j]);
      exponent_digit = true;
      ++j;
    }
    if (exponent_digit) number += exponent;
  }

  bool range_error = false;
  double value = StrtodC(number.c_str(), range_error);
  NumberReading result;
  if (range_error && std::isinf(value)) {
    result.overflow = true;
  }
  result.value = value;
  return result;
}

double ReadNumber(std::string_view text) { return ReadNumberChecked(text).value; }

int ClampCount(double value) {
  if (!(value > 0)) return 0;  // also NaN
  if (value >= kMaxCount) return kMaxCount;
  return static_cast<int>(value);
}

int ReadCount(std::string_view text) { return ClampCount(ReadNumber(text)); }

}  // namespace orcalc
