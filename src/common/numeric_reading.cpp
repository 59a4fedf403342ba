#include "common/numeric_reading.h"

#include <cerrno>
#include <charconv>
#include <clocale>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <optional>
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

// The characters of a number, gathered without blanks: on the stack for
// every number a cell usually holds, on the heap only for very long ones.
class NumberChars {
 public:
  void push_back(char c) {
    if (size_ < kInline) {
      inline_[size_++] = c;
      return;
    }
    if (size_ == kInline) long_.assign(inline_, kInline);
    long_.push_back(c);
    ++size_;
  }
  // NUL-terminated.
  const char* c_str() {
    if (size_ <= kInline) {
      inline_[size_] = '\0';
      return inline_;
    }
    return long_.c_str();
  }
  std::size_t size() const { return size_; }

 private:
  static constexpr std::size_t kInline = 63;
  char inline_[kInline + 1];
  std::string long_;
  std::size_t size_ = 0;
};

// A gathered number: an optional "-", digits with at most one ".", and an
// optional exponent ("e", an optional sign, digits).
NumberReading Convert(NumberChars& number) {
  const char* text = number.c_str();
  NumberReading result;
  const auto converted = std::from_chars(text, text + number.size(), result.value);
  if (converted.ec == std::errc() && converted.ptr == text + number.size()) return result;
  // Beyond a double's range: strtod gives what the reading has always
  // given there, infinity (an overflow) or 0 and the subnormals.
  bool range_error = false;
  result.value = StrtodC(text, range_error);
  result.overflow = range_error && std::isinf(result.value);
  return result;
}

// A text that is nothing but up to 15 digits, "-" first or not: a whole
// number below 2^53, so exactly the double that converting it gives.
std::optional<double> PlainWholeNumber(std::string_view text) {
  const bool negative = !text.empty() && text.front() == '-';
  if (negative) text.remove_prefix(1);
  if (text.empty() || text.size() > 15) return std::nullopt;
  std::uint64_t whole = 0;
  for (char c : text) {
    if (!IsDigit(c)) return std::nullopt;
    whole = whole * 10 + static_cast<std::uint64_t>(c - '0');
  }
  const auto value = static_cast<double>(whole);
  return negative ? -value : value;
}

}  // namespace

NumberReading ReadNumberChecked(std::string_view text) {
  // Most cells hold a plain whole number.
  if (const std::optional<double> whole = PlainWholeNumber(text)) return {*whole, false};

  // Gather the characters of the number without blanks, then convert them in
  // one correctly rounded step.
  NumberChars number;
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
    char exponent_sign = 0;
    if (j < n && (text[j] == '+' || text[j] == '-')) {
      exponent_sign = text[j];
      ++j;
    }
    bool exponent_digit = false;
    for (;;) {
      skip();
      if (j >= n || !IsDigit(text[j])) break;
      if (!exponent_digit) {
        number.push_back('e');
        if (exponent_sign) number.push_back(exponent_sign);
        exponent_digit = true;
      }
      // Leading zeros carry nothing; very long exponents only need their
      // magnitude, which the conversion handles.
      number.push_back(text[j]);
      ++j;
    }
  }
  return Convert(number);
}

double ReadNumber(std::string_view text) { return ReadNumberChecked(text).value; }

int ClampCount(double value) {
  if (!(value > 0)) return 0;  // also NaN
  if (value >= kMaxCount) return kMaxCount;
  return static_cast<int>(value);
}

int ReadCount(std::string_view text) { return ClampCount(ReadNumber(text)); }

}  // namespace orcalc
