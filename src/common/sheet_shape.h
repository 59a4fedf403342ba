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

// For a sheet whose header texts are not a layout's (a file made by hand,
// its columns named freely): empty when every cell of column `sign_col`
// from row `first_row` on holds a sign, in its cell form or a plain one
// ("<=", "≥", "=", ...), or nothing; otherwise what does not fit, naming
// the first other cell.
std::string SignColumnMismatch(const Sheet& sheet, int sign_col, int first_row,
                               const char* kind_name);

// A sign cell's text as the sheet takes it: a plain sign in its cell form
// (" ≤ ", " ≥ ", " ═ "), anything else as it is.
std::string SignCellText(const std::string& text);

}  // namespace orcalc
