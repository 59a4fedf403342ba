#include "steps/step_number_text.h"

#include <cmath>
#include <cstdio>

#include "common/number_text.h"

namespace orcalc::steps {
namespace {

std::string DecimalText(double value) {
  if (value == 0) return "0";  // also -0
  if (!std::isfinite(value)) return PlainNumber(value);
  char text[40];
  std::snprintf(text, sizeof text, "%.6g", value);
  return text;
}

}  // namespace

std::string NumberText(const StepNumber& number) {
  if (!number.is_exact) return DecimalText(number.decimal);
  return number.exact->get_str();
}

std::string LatexNumber(const StepNumber& number) {
  if (!number.is_exact) {
    std::string text = DecimalText(number.decimal);
    const std::size_t e = text.find('e');
    if (e == std::string::npos) return text;
    // 1.5e+07 as 1.5\times10^{7}
    return text.substr(0, e) + "\\times10^{" + std::to_string(std::stoi(text.substr(e + 1))) + "}";
  }
  const mpq_class& q = *number.exact;
  if (q.get_den() == 1) return q.get_num().get_str();
  const bool negative = sgn(q) < 0;
  const mpz_class numerator = abs(q.get_num());
  return std::string(negative ? "-" : "") + "\\frac{" + numerator.get_str() + "}{" +
         q.get_den().get_str() + "}";
}

std::string VariableName(int index) { return "χ" + PlainNumber(index); }

}  // namespace orcalc::steps
