#include "printing/pdf_text_map.h"

#include <QFont>
#include <QList>
#include <QRawFont>
#include <QString>

namespace orcalc::ui {
namespace {

// The code points of a block, as a string.
QString Block(char16_t first, char16_t last) {
  QString text;
  for (char16_t c = first; c <= last; ++c) text.append(QChar(c));
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

// The four hex digits "<XXXX>" at `at` (the '<'), or -1.
int Hex4(const QByteArray& pdf, qsizetype at) {
  if (at + 5 >= pdf.size() || pdf[at] != '<' || pdf[at + 5] != '>') return -1;
  int value = 0;
  for (qsizetype i = at + 1; i < at + 5; ++i) {
    const int digit = HexDigit(pdf[i]);
    if (digit < 0) return -1;
    value = value * 16 + digit;
  }
  return value;
}

void WriteHex4(QByteArray& pdf, qsizetype at, char16_t value) {
  static const char kDigits[] = "0123456789ABCDEF";
  for (int i = 4; i >= 1; --i) {
    pdf[at + i] = kDigits[value & 0xF];
    value = static_cast<char16_t>(value >> 4);
  }
}

void Rename(QByteArray& pdf, qsizetype at, const QHash<char16_t, char16_t>& map) {
  const int value = Hex4(pdf, at);
  if (value < 0) return;
  const auto found = map.find(static_cast<char16_t>(value));
  if (found != map.end()) WriteHex4(pdf, at, found.value());
}

// One line of a bfrange section, from `at` to `end` (its '\n'):
// "<g0> <g1> <u>" or "<g0> <g1> [<u0> <u1> …]".
void RenameRange(QByteArray& pdf, qsizetype at, qsizetype end,
                 const QHash<char16_t, char16_t>& map) {
  const int first = Hex4(pdf, at);
  const int last = Hex4(pdf, at + 7);
  if (first < 0 || last < 0 || at + 14 >= end) return;
  qsizetype value = at + 14;
  if (pdf[value] == '[') {
    for (qsizetype i = value; i < end; ++i)
      if (pdf[i] == '<') Rename(pdf, i, map);
  } else if (first == last) {  // a run of one
    Rename(pdf, value, map);
  }
}

// Every line between `begin_word` and `end_word`, through `line`.
template <class Line>
void EachSectionLine(QByteArray& pdf, const QByteArray& begin_word, const QByteArray& end_word,
                     Line line) {
  qsizetype from = 0;
  while ((from = pdf.indexOf(begin_word, from)) >= 0) {
    const qsizetype stop = pdf.indexOf(end_word, from);
    if (stop < 0) return;
    qsizetype at = pdf.indexOf('\n', from);
    while (at >= 0 && at < stop) {
      const qsizetype end = pdf.indexOf('\n', at + 1);
      if (end < 0 || end > stop) break;
      line(at + 1, end);
      at = end;
    }
    from = stop;
  }
}

}  // namespace

QHash<char16_t, char16_t> RadicalIdeographs(const QFont& font) {
  const QRawFont raw = QRawFont::fromFont(font);
  QHash<char16_t, char16_t> map;
  if (!raw.isValid()) return map;
  const QString radicals = Block(0x2E80, 0x2FDF);
  const QString ideographs = Block(0x4E00, 0x9FFF);
  const QList<quint32> radical_glyphs = raw.glyphIndexesForString(radicals);
  const QList<quint32> ideograph_glyphs = raw.glyphIndexesForString(ideographs);
  QHash<quint32, char16_t> ideograph_of;  // glyph -> the first ideograph drawn with it
  for (qsizetype i = 0; i < ideograph_glyphs.size(); ++i) {
    if (ideograph_glyphs[i] != 0 && !ideograph_of.contains(ideograph_glyphs[i]))
      ideograph_of.insert(ideograph_glyphs[i], ideographs[i].unicode());
  }
  for (qsizetype i = 0; i < radical_glyphs.size(); ++i) {
    const auto found = ideograph_of.find(radical_glyphs[i]);
    if (radical_glyphs[i] != 0 && found != ideograph_of.end())
      map.insert(radicals[i].unicode(), found.value());
  }
  return map;
}

void RenameCodePoints(QByteArray& pdf, const QHash<char16_t, char16_t>& map) {
  if (map.isEmpty()) return;
  EachSectionLine(pdf, "beginbfrange", "endbfrange",
                  [&](qsizetype at, qsizetype end) { RenameRange(pdf, at, end, map); });
  // "<g> <u>"
  EachSectionLine(pdf, "beginbfchar", "endbfchar", [&](qsizetype at, qsizetype end) {
    if (at + 13 <= end && Hex4(pdf, at) >= 0) Rename(pdf, at + 7, map);
  });
}

}  // namespace orcalc::ui
