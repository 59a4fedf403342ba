#include "steps/exact_reading.h"

#include <cmath>
#include <optional>
#include <string>

namespace orcalc::steps {
namespace {

// Decimal exponents beyond this are outside a double's range anyway; the
// calculation then used 0, a subnormal or refused the cell, and a power of
// ten that large is not worth building.
constexpr long kMostExponent = 400;

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

struct DecimalText {
  bool negative = false;
  std::string digits;  // without the point
  long exponent = 0;   // value = digits * 10^exponent
};

// The exponent after E or D: only when a digit follows the letter and sign.
// False when it is too large to be worth reading exactly.
bool ReadExponent(std::string_view text, std::size_t i, long& exponent) {
  const std::size_t n = text.size();
  auto skip = [&] {
    while (i < n && text[i] == ' ') ++i;
  };
  skip();
  if (i >= n || (text[i] != 'E' && text[i] != 'e' && text[i] != 'D' && text[i] != 'd')) return true;
  ++i;
  skip();
  bool negative = false;
  if (i < n && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  long value = 0;
  for (skip(); i < n && IsDigit(text[i]); skip()) {
    value = value * 10 + (text[i++] - '0');
    if (value > kMostExponent * 10) return false;
  }
  exponent = negative ? -value : value;
  return true;
}

// The gathered number, or nothing when it is too large to read exactly.
std::optional<DecimalText> Gather(std::string_view text) {
  DecimalText number;
  std::size_t i = 0;
  const std::size_t n = text.size();
  auto skip = [&] {
    while (i < n && text[i] == ' ') ++i;
  };
  skip();
  if (i < n && (text[i] == '+' || text[i] == '-')) number.negative = text[i++] == '-';
  bool seen_point = false;
  long fraction_digits = 0;
  for (skip(); i < n; skip()) {
    if (IsDigit(text[i])) {
      number.digits += text[i];
      fraction_digits += seen_point ? 1 : 0;
    } else if (text[i] == '.' && !seen_point) {
      seen_point = true;
    } else {
      break;
    }
    ++i;
  }
  if (number.digits.empty()) return DecimalText{};  // no number: 0
  long exponent = 0;
  if (!ReadExponent(text, i, exponent)) return std::nullopt;
  number.exponent = exponent - fraction_digits;
  if (std::labs(number.exponent) > kMostExponent + static_cast<long>(number.digits.size()))
    return std::nullopt;
  return number;
}

mpq_class ValueOf(const DecimalText& number) {
  if (number.digits.empty()) return 0;
  mpq_class value(mpz_class(number.digits, 10));
  mpz_class power;
  mpz_ui_pow_ui(power.get_mpz_t(), 10, static_cast<unsigned long>(std::labs(number.exponent)));
  if (number.exponent >= 0) {
    value *= power;
  } else {
    value /= power;
  }
  value.canonicalize();
  return number.negative ? mpq_class(-value) : value;
}

// Whether `used` is the double nearest to `exact` (ties either way).
bool NearestDouble(const mpq_class& exact, double used) {
  if (!std::isfinite(used)) return false;
  if ((exact == 0) != (used == 0)) return false;
  const mpq_class distance = abs(exact - mpq_class(used));
  for (double neighbour : {std::nextafter(used, -INFINITY), std::nextafter(used, INFINITY)}) {
    if (std::isfinite(neighbour) && abs(exact - mpq_class(neighbour)) < distance) return false;
  }
  return true;
}

}  // namespace

ExactReading ReadExactNumber(std::string_view text, double used) {
  const std::optional<DecimalText> number = Gather(text);
  if (number) {
    mpq_class exact = ValueOf(*number);
    if (NearestDouble(exact, used)) return {std::move(exact), true};
  }
  if (!std::isfinite(used)) return {mpq_class(0), false};
  return {mpq_class(used), false};
}

}  // namespace orcalc::steps
