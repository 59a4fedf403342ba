#include "common/text_width.h"

namespace orcalc {
namespace {

bool Wide(char32_t c) {
  return (c >= 0x1100 && c <= 0x115F) ||  // Hangul initial consonants
         (c >= 0x2190 && c <= 0x21FF) ||  // arrows
         (c >= 0x2200 && c <= 0x22FF) ||  // mathematical operators: ≤ ≥ ∞
         (c >= 0x2460 && c <= 0x24FF) ||  // enclosed numbers
         (c >= 0x2500 && c <= 0x25FF) ||  // box drawing (═) and shapes
         (c >= 0x2E80 && c <= 0xA4CF) ||  // CJK radicals to Yi, punctuation included
         (c >= 0xAC00 && c <= 0xD7A3) ||  // Hangul syllables
         (c >= 0xF900 && c <= 0xFAFF) ||  // CJK compatibility ideographs
         (c >= 0xFE30 && c <= 0xFE4F) ||  // CJK compatibility forms
         (c >= 0xFF00 && c <= 0xFF60) ||  // full-width forms: ： （ ）
         (c >= 0xFFE0 && c <= 0xFFE6) ||  // full-width signs
         (c >= 0x20000 && c <= 0x3FFFD);  // supplementary ideographs
}

}  // namespace

std::size_t DisplayWidth(std::string_view text) {
  std::size_t width = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80           ? 1
                               : (lead >> 5) == 0x6  ? 2
                               : (lead >> 4) == 0xE  ? 3
                               : (lead >> 3) == 0x1E ? 4
                                                     : 0;
    bool valid = length != 0 && i + length <= text.size();
    char32_t c = length == 1 ? char32_t{lead} : char32_t{lead} & (char32_t{0x7F} >> length);
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next & 0xC0) == 0x80;
      c = (c << 6) | (char32_t{next} & char32_t{0x3F});
    }
    if (!valid) {
      width += 1;
      i += 1;
      continue;
    }
    width += Wide(c) ? std::size_t{2} : std::size_t{1};
    i += length;
  }
  return width;
}

void AppendPadRight(std::string& out, std::string_view text, std::size_t width) {
  out.append(text);
  const std::size_t used = DisplayWidth(text);
  if (used < width) out.append(width - used, ' ');
}

void AppendPadLeft(std::string& out, std::string_view text, std::size_t width) {
  const std::size_t used = DisplayWidth(text);
  if (used < width) out.append(width - used, ' ');
  out.append(text);
}

}  // namespace orcalc
