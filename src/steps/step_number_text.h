// How the numbers of the tables are written.
#pragma once

#include <string>

#include "steps/step_tableau.h"

namespace orcalc::steps {

// "3/2", "-1/3", "4"; a decimal with at most 6 significant digits ("0.333333",
// "1.5e+07").
std::string NumberText(const StepNumber& number);

// The number for LaTeX's math mode: "\frac{3}{2}", "-\frac{1}{3}", "4".
std::string LatexNumber(const StepNumber& number);

// The name of variable `index` (1-based): "χ3".
std::string VariableName(int index);

}  // namespace orcalc::steps
