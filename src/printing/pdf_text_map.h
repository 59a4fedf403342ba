// A PDF's text as its reader copies and searches it. Qt names each glyph
// in a font's text map (ToUnicode) by the lowest code point the face draws
// with that glyph; a CJK face draws a radical (⼈ U+2F08, ⻓ U+2ED3) and its
// ideograph (人, 长) alike, so the text of a PDF written by Qt would read
// radicals where the report has ideographs.
#pragma once

#include <QByteArray>
#include <QHash>

class QFont;

namespace orcalc::ui {

// Radical code point -> the ideograph `font` draws with the same glyph.
QHash<char16_t, char16_t> RadicalIdeographs(const QFont& font);

// Rewrites, in place and byte for byte the same length, the text maps of
// `pdf`: every code point `map` holds is named by its value instead. An
// entry that maps a run of glyphs to a run of code points is left as it
// is when the run holds one of them (Qt writes such runs for ten code
// points in a row, which radicals among a report's text never are).
void RenameCodePoints(QByteArray& pdf, const QHash<char16_t, char16_t>& map);

}  // namespace orcalc::ui
