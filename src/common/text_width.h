// How many columns a text takes in the report box's fixed-pitch face, so
// that report tables line up there.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace orcalc {

// The columns of UTF-8 `text`: two for Chinese characters, full-width forms
// and the mathematical and box-drawing signs (≤, ≥, ∞, ═), which the face
// draws twice as wide as a Latin letter; one for everything else (ASCII,
// Greek χ). Bytes that are not valid UTF-8 count one column each.
std::size_t DisplayWidth(std::string_view text);

// `text` followed by (or, for PadLeft, preceded by) blanks up to `width`
// columns; unchanged when it is already as wide.
void AppendPadRight(std::string& out, std::string_view text, std::size_t width);
void AppendPadLeft(std::string& out, std::string_view text, std::size_t width);

}  // namespace orcalc
