// The ways numbers are written in reports and headers.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orcalc {

// Room enough for any number text written below.
inline constexpr std::size_t kNumberTextCapacity = 40;

// Plain number text: at most 15 significant digits (rounded), no trailing
// zeros or point, "0" before the point below 1, "-" before negative values,
// exponent form ("1E-05", "1.5E+20") when the rounded decimal exponent is
// below -4 or above 14. Negative zero is "0"; non-finite values are "inf",
// "-inf" and "nan". `decimal_separator` replaces the "."; it must be at most
// 4 bytes long.
std::size_t WritePlainNumber(char* out, double value, std::string_view decimal_separator = ".");
std::string PlainNumber(double value, std::string_view decimal_separator = ".");

// Signed number text: plain number text with "." as separator, a blank
// before values that are 0 or positive, and no "0" before the point when the
// magnitude is below 1 (" .5", "-.5"). Non-finite: " inf", "-inf", " nan".
std::size_t WriteSignedNumber(char* out, double value);
std::string SignedNumber(double value);

// Round-trip number text for scripts: the shortest decimal that reads back
// as the same double ("0.1", "12", "1e+20", "1.5e-07"), "." whatever the
// locale; negative zero is "0". Non-finite values are "inf", "-inf", "nan".
std::string RoundTripNumber(double value);

}  // namespace orcalc
