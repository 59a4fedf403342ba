// Whether a sheet read from a file is one that a sheet window's OK lays out:
// the header row and column hold the texts of a layout for the sheet's own
// counts.
#pragma once

#include <string>

#include "common/sheet.h"

namespace orcalc {

// Empty when `sheet` fits; otherwise what does not fit, in Chinese, naming
// the cell by its line and column in the file (both from 1). `laid_out` is
// what OK lays out on a fresh grid for the counts the sheet's shape gives;
// `kind_name` names the kind of sheet expected.
std::string SheetMismatch(const Sheet& sheet, const Sheet& laid_out, const char* kind_name);

}  // namespace orcalc
