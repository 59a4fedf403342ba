#include "cli/commands.h"

#include <algorithm>

#include "common/numeric_reading.h"

namespace orcalc::cli {

std::string SheetPath(const Arguments& arguments) {
  const auto& files = arguments.positionals();
  if (files.empty())
    throw UsageError("missing the sheet file (SHEET.csv, or - for standard input)");
  if (files.size() > 1) throw UsageError("one sheet file only, got '" + files[1] + "' as well");
  return files.front();
}

int CountOption(const Arguments& arguments, std::string_view option, int fallback) {
  if (const auto value = arguments.Value(option)) return ParseCount(option, *value);
  return std::clamp(fallback, 0, kMaxCount);
}

int RequiredCount(const Arguments& arguments, std::string_view option) {
  const auto value = arguments.Value(option);
  if (!value) throw UsageError("missing --" + std::string(option) + " N");
  return ParseCount(option, *value);
}

}  // namespace orcalc::cli
