// Sheet files as spreadsheets save them: the bytes turned into UTF-8 text,
// and the character that separates the fields.
#pragma once

#include <string>
#include <string_view>

namespace orcalc {

// What exactly is wrong with a file that is NotText, for a message in the
// user's language.
enum class SheetTextFault {
  None,
  UnclosedQuote,      // a quoted field is not closed
  TextAfterQuote,     // text follows a closing quote
  QuoteInField,       // a quote inside an unquoted field
  BadUtf16,           // not valid UTF-16 after a UTF-16 byte-order mark
  NoConverter,        // no GB18030 converter on this system
  NeitherUtf8NorGbk,  // neither UTF-8 nor GB18030
  BadUtf8,            // not valid UTF-8 after a UTF-8 byte-order mark
};

struct DecodedText {
  bool ok = false;
  std::string text;   // UTF-8, without a byte-order mark
  std::string error;  // what is wrong, naming the line, when !ok
  SheetTextFault fault = SheetTextFault::None;
  long line = 0;  // the line of the error, when it has one
};

// UTF-8 (a byte-order mark is dropped), UTF-16 with a byte-order mark
// (either byte order), and otherwise, when the bytes are not valid UTF-8,
// GB18030 (which includes GBK). Bytes that are none of these are refused,
// naming the line of the first one that does not decode.
DecodedText DecodeSheetText(std::string_view bytes);

// The field separator of a CSV text: a comma, unless the first record holds
// no comma outside quotes but a semicolon or a tab; then the first of
// those.
char DetectFieldSeparator(std::string_view text);

// A sign typed in plain form: the text without its blanks is exactly "<=",
// ">=", "=", "≤", "≥", "＝" or "═". Gives the sign's cell text (" ≤ ",
// " ≥ " or " ═ "), or an empty text when `text` is no such sign.
std::string PlainSignText(std::string_view text);

}  // namespace orcalc
