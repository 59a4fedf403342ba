// Sheet files: reading never crashes, and writing what was read reads back
// as the same sheet.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/sheet_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  orcalc::SheetFileResult first = orcalc::ReadSheetCsv(bytes);
  if (!first.ok) {
    if (first.error.empty()) std::abort();
    return 0;
  }
  std::string written = orcalc::WriteSheetCsv(first.sheet);
  orcalc::SheetFileResult second = orcalc::ReadSheetCsv(written);
  if (!second.ok || !(second.sheet == first.sheet)) std::abort();
  if (orcalc::WriteSheetCsv(second.sheet) != written) std::abort();
  return 0;
}
