// Numeric reading and the two number texts: never crash; the plain text of a
// finite value reads back as the same value to 15 significant digits; the
// signed text differs from the plain one only by its sign blank and the
// dropped leading zero.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>

#include "common/number_text.h"
#include "common/numeric_reading.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

std::string ExpectedSigned(double x) {
  std::string plain = orcalc::PlainNumber(x);
  if (x == 0) return " 0";
  std::string sign = x < 0 ? "-" : " ";
  std::string body = x < 0 ? plain.substr(1) : plain;
  if (body.size() > 1 && body[0] == '0' && body[1] == '.') body.erase(0, 1);
  return sign + body;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view text(reinterpret_cast<const char*>(data), size);
  orcalc::NumberReading reading = orcalc::ReadNumberChecked(text);
  Check(reading.overflow == std::isinf(reading.value));
  Check(!std::isnan(reading.value));
  int count = orcalc::ReadCount(text);
  Check(count >= 0 && count <= orcalc::kMaxCount);

  if (size >= sizeof(double)) {
    double x;
    std::memcpy(&x, data, sizeof x);
    std::string plain = orcalc::PlainNumber(x);
    std::string with_comma = orcalc::PlainNumber(x, ",");
    Check(plain.size() < orcalc::kNumberTextCapacity);
    std::string signed_text = orcalc::SignedNumber(x);
    if (std::isfinite(x)) {
      orcalc::NumberReading read_back = orcalc::ReadNumberChecked(plain);
      if (read_back.overflow) {
        // Only the values that round up past the largest double at 15 digits.
        Check(std::fabs(x) > 1.797693134862315e308);
        return 0;
      }
      double back = read_back.value;
      Check(orcalc::PlainNumber(back) == plain);
      // Half a unit in the 15th digit, plus the double's own rounding.
      Check(std::fabs(back - x) <= std::fabs(x) * 5.2e-15);
      Check(signed_text == ExpectedSigned(x));
      std::string swapped = plain;
      for (char& c : swapped)
        if (c == '.') c = ',';
      Check(swapped == with_comma);
    }
  }
  return 0;
}
