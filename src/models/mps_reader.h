// MPS model files, free and fixed form.
#pragma once

#include <string_view>

#include "models/model_reading.h"

namespace orcalc::models {

// Sections NAME, OBJSENSE (MAX or MIN), ROWS (N, L, G, E; the first N row
// is the objective, further ones are dropped), COLUMNS (with
// 'MARKER' 'INTORG' / 'INTEND' around integer variables, which without
// bounds of their own are 0/1 variables), RHS (on the objective row: minus
// the objective's constant), RANGES and BOUNDS (UP, LO, FX, FR, MI, PL, BV,
// LI, UI; UP below 0 on a variable whose lower bound is 0 makes that bound
// −∞), then ENDATA. Fields are separated by blanks; a line the free form
// cannot read (a name with a blank in it) is read again by the fixed
// form's columns. Lines starting with "*" are comments. Magnitudes of 1e30
// and more in RHS, RANGES and BOUNDS are infinite. One RHS, RANGES and
// BOUNDS set only.
ModelReadResult ReadMps(std::string_view text, std::string_view file_name);

}  // namespace orcalc::models
