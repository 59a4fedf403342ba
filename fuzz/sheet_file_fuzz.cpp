// Sheet files: reading never crashes, writing what was read reads back as
// the same sheet, and a UTF-8 file saved by a spreadsheet as UTF-16 or
// GB18030 reads as the same sheet as the UTF-8 file itself.
#include <iconv.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "files/sheet_file.h"

namespace {

// UTF-8 (well-formed) as UTF-16 with a byte-order mark.
std::string Utf16(std::string_view utf8, bool big_endian) {
  std::string out = big_endian ? "\xFE\xFF" : "\xFF\xFE";
  auto unit = [&](unsigned u) {
    const char hi = static_cast<char>(u >> 8), lo = static_cast<char>(u & 0xFF);
    out += big_endian ? std::string{hi, lo} : std::string{lo, hi};
  };
  for (std::size_t i = 0; i < utf8.size();) {
    const auto c = static_cast<unsigned char>(utf8[i]);
    const int extra = c < 0x80 ? 0 : c < 0xE0 ? 1 : c < 0xF0 ? 2 : 3;
    unsigned code = extra == 0 ? c : c & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k)
      code = code << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    i += static_cast<std::size_t>(extra) + 1;
    if (code >= 0x10000) {
      unit(0xD800 + ((code - 0x10000) >> 10));
      unit(0xDC00 + ((code - 0x10000) & 0x3FF));
    } else {
      unit(code);
    }
  }
  return out;
}

// UTF-8 as GB18030; empty when iconv cannot convert it.
std::string Gb18030(std::string_view utf8) {
  iconv_t cd = iconv_open("GB18030", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return {};
  std::string out(utf8.size() * 4 + 8, '\0');
  char* in = const_cast<char*>(utf8.data());
  std::size_t in_left = utf8.size();
  char* to = out.data();
  std::size_t to_left = out.size();
  const bool ok = iconv(cd, &in, &in_left, &to, &to_left) != static_cast<std::size_t>(-1);
  iconv_close(cd);
  if (!ok) return {};
  out.resize(out.size() - to_left);
  return out;
}

void ReadsAsTheSame(const std::string& bytes, const orcalc::Sheet& sheet) {
  const orcalc::SheetFileResult r = orcalc::ReadSheetCsv(bytes);
  if (!r.ok || !(r.sheet == sheet)) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  orcalc::SheetFileResult first = orcalc::ReadSheetCsv(bytes);
  if (!first.ok) {
    if (first.error.empty()) std::abort();
    return 0;
  }
  // The variable-types record, when the file has one, is written back after
  // the sheet and read off again.
  const std::vector<std::string> types = first.variable_types.value_or(std::vector<std::string>{});
  std::string written = orcalc::WriteSheetCsv(first.sheet, types);
  orcalc::SheetFileResult second = orcalc::ReadSheetCsv(written);
  if (!second.ok || !(second.sheet == first.sheet)) std::abort();
  if (orcalc::WriteSheetCsv(second.sheet, second.variable_types.value_or(types)) != written)
    std::abort();

  // The written file in the other encodings.
  if (written.empty()) return 0;
  ReadsAsTheSame(Utf16(written, false), first.sheet);
  ReadsAsTheSame(Utf16(written, true), first.sheet);
  const std::string gb = Gb18030(written);
  // Bytes that happen to be valid UTF-8 are taken as UTF-8, as they must; so
  // are bytes that open with what reads as a UTF-8 byte-order mark ("锘" and
  // the like first in the file).
  if (!gb.empty() && !orcalc::IsValidUtf8(gb) && !gb.starts_with("\xEF\xBB\xBF"))
    ReadsAsTheSame(gb, first.sheet);
  return 0;
}
