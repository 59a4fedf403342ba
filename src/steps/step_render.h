// The steps written out: plain text, CSV, an HTML page and a LaTeX
// fragment. Every format has LF line ends.
#pragma once

#include <cstddef>
#include <string>

#include "steps/step_tableau.h"

namespace orcalc::steps {

enum class StepsFormat { Text, Csv, Html, Latex };

// Aligned columns; the pivot in brackets, as [3/2].
std::string RenderText(const StepsDocument& doc);
// One block per table: a title record, the grid's records (pivot [3/2]),
// the sentence records; a blank line between blocks.
std::string RenderCsv(const StepsDocument& doc);
// One self-contained page; the pivot bracketed and coloured. A table wider
// than `most_width` columns of the fixed-pitch face (0: no limit) is cut
// into parts one below the other, each with C_B, X_B and b, as a printed
// page needs.
std::string RenderHtml(const StepsDocument& doc, std::size_t most_width = 0);
// A fragment of tabulars, fractions as \frac; the Chinese sentences need a
// CJK set-up (CJKutf8 or ctex) in the document that takes it.
std::string RenderLatex(const StepsDocument& doc);

std::string Render(const StepsDocument& doc, StepsFormat format);

}  // namespace orcalc::steps
