#include "files/text_decoding.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <memory>

#include "files/sheet_file.h"

namespace orcalc {
namespace {

void SetLineError(DecodedText& result, std::string_view bytes, std::size_t offset,
                  SheetTextFault fault, const char* what) {
  const auto end = bytes.begin() + static_cast<long>(std::min(offset, bytes.size()));
  result.line = 1 + std::count(bytes.begin(), end, '\n');
  result.fault = fault;
  result.error = "line " + std::to_string(result.line) + ": " + what;
}

void AppendUtf8(std::string& out, unsigned code) {
  if (code < 0x80) {
    out.push_back(static_cast<char>(code));
  } else if (code < 0x800) {
    out.push_back(static_cast<char>(0xC0 | (code >> 6)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else if (code < 0x10000) {
    out.push_back(static_cast<char>(0xE0 | (code >> 12)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  } else {
    out.push_back(static_cast<char>(0xF0 | (code >> 18)));
    out.push_back(static_cast<char>(0x80 | ((code >> 12) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code & 0x3F)));
  }
}

// UTF-16 after its byte-order mark; lines are counted in code units.
DecodedText DecodeUtf16(std::string_view units, bool big_endian) {
  DecodedText result;
  const auto* s = reinterpret_cast<const unsigned char*>(units.data());
  const std::size_t n = units.size() / 2;
  long line = 1;
  auto unit = [&](std::size_t i) -> unsigned {
    const unsigned first = s[2 * i], second = s[2 * i + 1];
    return big_endian ? (first << 8 | second) : (second << 8 | first);
  };
  auto fail = [&] {
    result.text.clear();
    result.error = "line " + std::to_string(line) + ": the file is not valid UTF-16 text";
    result.fault = SheetTextFault::BadUtf16;
    result.line = line;
    return result;
  };
  for (std::size_t i = 0; i < n; ++i) {
    unsigned code = unit(i);
    if (code >= 0xD800 && code <= 0xDBFF) {
      if (i + 1 >= n) return fail();
      const unsigned low = unit(i + 1);
      if (low < 0xDC00 || low > 0xDFFF) return fail();
      code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
      ++i;
    } else if (code >= 0xDC00 && code <= 0xDFFF) {
      return fail();
    }
    if (code == '\n') ++line;
    AppendUtf8(result.text, code);
  }
  if (units.size() % 2 != 0) return fail();
  result.ok = true;
  return result;
}

struct CloseConverter {
  void operator()(iconv_t* converter) const {
    iconv_close(*converter);
    delete converter;
  }
};

DecodedText DecodeGb18030(std::string_view bytes) {
  DecodedText result;
  iconv_t raw = iconv_open("UTF-8", "GB18030");
  // NOLINTNEXTLINE(performance-no-int-to-ptr): iconv_open's failure value is (iconv_t)-1
  if (raw == reinterpret_cast<iconv_t>(-1)) {
    result.error = "no GB18030 converter on this system";
    result.fault = SheetTextFault::NoConverter;
    return result;
  }
  std::unique_ptr<iconv_t, CloseConverter> converter(new iconv_t(raw));
  // At most four UTF-8 bytes for each byte read (a one-byte GB18030 character
  // is ASCII and stays one byte).
  result.text.resize(bytes.size() * 2 + 4);
  char* in = const_cast<char*>(bytes.data());
  std::size_t in_left = bytes.size();
  char* out = result.text.data();
  std::size_t out_left = result.text.size();
  while (in_left > 0) {
    if (iconv(*converter, &in, &in_left, &out, &out_left) == static_cast<std::size_t>(-1)) {
      if (errno == E2BIG) {
        const std::size_t used = static_cast<std::size_t>(out - result.text.data());
        result.text.resize(result.text.size() * 2);
        out = result.text.data() + used;
        out_left = result.text.size() - used;
        continue;
      }
      const std::size_t offset = static_cast<std::size_t>(in - bytes.data());
      result.text.clear();
      SetLineError(result, bytes, offset, SheetTextFault::NeitherUtf8NorGbk,
                   "the file is neither UTF-8 nor GB18030 text");
      return result;
    }
  }
  result.text.resize(static_cast<std::size_t>(out - result.text.data()));
  result.ok = true;
  return result;
}

}  // namespace

DecodedText DecodeSheetText(std::string_view bytes) {
  if (bytes.starts_with("\xFF\xFE")) return DecodeUtf16(bytes.substr(2), false);
  if (bytes.starts_with("\xFE\xFF")) return DecodeUtf16(bytes.substr(2), true);
  DecodedText result;
  const bool marked = bytes.starts_with("\xEF\xBB\xBF");
  if (marked) bytes.remove_prefix(3);
  std::size_t bad = 0;
  if (IsValidUtf8(bytes, &bad)) {
    result.ok = true;
    result.text.assign(bytes);
    return result;
  }
  // A file that says it is UTF-8 is not taken for anything else.
  if (marked) {
    SetLineError(result, bytes, bad, SheetTextFault::BadUtf8, "the file is not valid UTF-8 text");
    return result;
  }
  return DecodeGb18030(bytes);
}

char DetectFieldSeparator(std::string_view text) {
  bool quoted = false;
  char other = 0;
  for (char c : text) {
    if (c == '"') {
      quoted = !quoted;
      continue;
    }
    if (quoted) continue;
    if (c == '\r' || c == '\n') break;
    if (c == ',') return ',';
    if (!other && (c == ';' || c == '\t')) other = c;
  }
  return other ? other : ',';
}

std::string PlainSignText(std::string_view text) {
  std::string bare;
  for (char c : text) {
    if (c != ' ' && c != '\t') bare.push_back(c);
  }
  if (bare == "<=" || bare == "≤") return " ≤ ";
  if (bare == ">=" || bare == "≥") return " ≥ ";
  if (bare == "=" || bare == "＝" || bare == "═") return " ═ ";
  return {};
}

}  // namespace orcalc
