// A cell's number read exactly, as a fraction: "0.1" is 1/10, not the
// double nearest to it.
#pragma once

#include <gmpxx.h>

#include <string_view>

namespace orcalc::steps {

struct ExactReading {
  mpq_class value;
  // False when the text could not be taken exactly and `value` is the
  // exact value of the double the calculation used instead.
  bool from_text = true;
};

// The number at the start of `text`, read by the same rules as numeric
// reading (optional sign, digits with one ".", an exponent after E or D,
// blanks skipped), but exactly. `used` is what numeric reading gave for the
// same text; the exact value is taken only when `used` is the double
// nearest to it (and both are zero or both not), otherwise `used` itself.
ExactReading ReadExactNumber(std::string_view text, double used);

}  // namespace orcalc::steps
