#include "common/number_text.h"

#include <charconv>
#include <cmath>
#include <cstring>

namespace orcalc {
namespace {

// Writes |value| (finite, nonzero) in plain form with the given separator.
// When `lead_zero` is false, a value below 1 starts with the separator.
std::size_t WriteMagnitude(char* out, double magnitude, std::string_view sep, bool lead_zero) {
  // Whole numbers of at most 15 digits, most of what sheets hold, are their
  // own digits: no rounding, no point, no exponent.
  if (magnitude < 1e15 && magnitude == std::floor(magnitude)) {
    const auto whole = static_cast<unsigned long long>(magnitude);
    return static_cast<std::size_t>(std::to_chars(out, out + 16, whole).ptr - out);
  }
  // Round to 15 significant digits: d.dddddddddddddde±X
  char sci[32];
  auto res = std::to_chars(sci, sci + sizeof sci, magnitude, std::chars_format::scientific, 14);
  const char* e =
      static_cast<const char*>(std::memchr(sci, 'e', static_cast<std::size_t>(res.ptr - sci)));
  int exponent = 0;
  std::from_chars(e + 2, res.ptr, exponent);  // to_chars always writes the sign
  if (e[1] == '-') exponent = -exponent;

  // The 15 significant digits, without trailing zeros.
  char digits[15] = {};
  int count = 0;
  for (const char* p = sci; p < e; ++p) {
    if (*p != '.') digits[count++] = *p;
  }
  while (count > 1 && digits[count - 1] == '0') --count;

  char* o = out;
  auto put_sep = [&] {
    std::memcpy(o, sep.data(), sep.size());
    o += sep.size();
  };
  if (exponent < -4 || exponent > 14) {
    *o++ = digits[0];
    if (count > 1) {
      put_sep();
      std::memcpy(o, digits + 1, static_cast<std::size_t>(count - 1));
      o += count - 1;
    }
    *o++ = 'E';
    *o++ = exponent < 0 ? '-' : '+';
    int a = exponent < 0 ? -exponent : exponent;
    if (a < 10) *o++ = '0';
    o = std::to_chars(o, o + 4, a).ptr;
  } else if (exponent < 0) {
    if (lead_zero) *o++ = '0';
    put_sep();
    for (int z = exponent + 1; z < 0; ++z) *o++ = '0';
    std::memcpy(o, digits, static_cast<std::size_t>(count));
    o += count;
  } else {
    int integer_digits = exponent + 1;
    for (int k = 0; k < integer_digits; ++k) *o++ = k < count ? digits[k] : '0';
    if (count > integer_digits) {
      put_sep();
      std::memcpy(o, digits + integer_digits, static_cast<std::size_t>(count - integer_digits));
      o += count - integer_digits;
    }
  }
  return static_cast<std::size_t>(o - out);
}

// The buffers are not strings: the caller keeps the length, and no
// terminating zero is written.
std::size_t WriteLiteral(char* out, std::string_view text) {
  text.copy(out, text.size());
  return text.size();
}

}  // namespace

std::size_t WritePlainNumber(char* out, double value, std::string_view decimal_separator) {
  if (std::isnan(value)) return WriteLiteral(out, "nan");
  if (std::isinf(value)) return WriteLiteral(out, value < 0 ? "-inf" : "inf");
  if (value == 0) return WriteLiteral(out, "0");
  std::size_t n = 0;
  if (value < 0) out[n++] = '-';
  return n + WriteMagnitude(out + n, std::fabs(value), decimal_separator, true);
}

std::size_t WriteSignedNumber(char* out, double value) {
  if (std::isnan(value)) return WriteLiteral(out, " nan");
  if (std::isinf(value)) return WriteLiteral(out, value < 0 ? "-inf" : " inf");
  if (value == 0) return WriteLiteral(out, " 0");
  out[0] = value < 0 ? '-' : ' ';
  return 1 + WriteMagnitude(out + 1, std::fabs(value), ".", false);
}

std::string PlainNumber(double value, std::string_view decimal_separator) {
  char buffer[kNumberTextCapacity];
  return std::string(buffer, WritePlainNumber(buffer, value, decimal_separator));
}

std::string SignedNumber(double value) {
  char buffer[kNumberTextCapacity];
  return std::string(buffer, WriteSignedNumber(buffer, value));
}

std::string RoundTripNumber(double value) {
  if (std::isnan(value)) return "nan";
  if (std::isinf(value)) return value < 0 ? "-inf" : "inf";
  if (value == 0) return "0";
  char buffer[kNumberTextCapacity];
  const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
  return std::string(buffer, written.ptr);
}

}  // namespace orcalc
