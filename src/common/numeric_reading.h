// Reading the number at the start of a cell or count-box text.
#pragma once

#include <string_view>

#include "common/sheet_layout.h"

namespace orcalc {

struct NumberReading {
  double value = 0.0;
  // The text's leading number is too large in magnitude for a double;
  // value is then +/-infinity and must not be used in a calculation.
  bool overflow = false;
};

// The number at the start of `text`: an optional sign, digits with an
// optional "." as decimal point, and an optional exponent (E or D in either
// case, an optional sign, digits). Blanks (U+0020 only) are skipped anywhere
// inside the number; the sign may only come first. Reading stops at the first
// character that cannot continue the number; a text with no number at its
// start reads as 0.
NumberReading ReadNumberChecked(std::string_view text);

// Same as ReadNumberChecked(text).value.
double ReadNumber(std::string_view text);

// A count read from a count box or a flag: numeric reading, truncated to a
// whole number and kept within 0..500.
int ReadCount(std::string_view text);
int ClampCount(double value);

}  // namespace orcalc
