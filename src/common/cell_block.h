// A block of cells as text on the clipboard, the way spreadsheets exchange
// it: copying out, and checking what is pasted in.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "common/sheet.h"

namespace orcalc {

// Rows top..bottom, columns left..right (inclusive) as text: a tab between
// cells, CR LF between rows, every text as the cell holds it.
std::string BlockText(const Sheet& sheet, int top, int left, int bottom, int right);

// Clipboard text as rows of fields. Rows end at CR LF, LF or CR; a line end
// at the very end starts no row. Fields are separated by tabs, or by commas
// when the text has no tab; a field in double quotes loses them ("" stands
// for one quote).
std::vector<std::vector<std::string>> ParseBlockText(std::string_view text);

// What a number cell stores when `text` is pasted into it: the text without
// surrounding blanks when the cell editor could have produced it (digits, at
// most one "." and one "-"), completed as the editor completes a lone point
// (".5" gives "0.5", "5." gives "5.0"); nothing when it could not.
std::optional<std::string> PastedNumberText(std::string_view text);

// What a sign cell stores when `text` is pasted into it: " ≤ ", " ≥ " or
// " ═ " for a sign in its own or plain form, the empty text for a blank
// one; nothing for any other text.
std::optional<std::string> PastedSignText(std::string_view text);

}  // namespace orcalc
