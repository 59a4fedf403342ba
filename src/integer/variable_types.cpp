#include "integer/variable_types.h"

#include <algorithm>
#include <charconv>

namespace orcalc::integer {
namespace {

constexpr std::string_view kContinuousText = "连续";
constexpr std::string_view kIntegerText = "整数";
constexpr std::string_view kBinaryText = "0-1";

std::string_view Trimmed(std::string_view text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string_view::npos) return {};
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// A whole number 1..most written with digits only.
std::optional<std::size_t> VariableNumber(std::string_view text, std::size_t most) {
  text = Trimmed(text);
  std::size_t value = 0;
  const char* last = text.data() + text.size();
  const auto [end, error] = std::from_chars(text.data(), last, value);
  if (text.empty() || error != std::errc() || end != last || value < 1 || value > most) {
    return std::nullopt;
  }
  return value;
}

}  // namespace

std::string_view VariableTypeText(VariableType type) {
  switch (type) {
    case VariableType::Integer:
      return kIntegerText;
    case VariableType::Binary:
      return kBinaryText;
    case VariableType::Continuous:
      break;
  }
  return kContinuousText;
}

std::optional<VariableType> VariableTypeOf(std::string_view text) {
  text = Trimmed(text);
  if (text.empty() || text == kContinuousText) return VariableType::Continuous;
  if (text == kIntegerText) return VariableType::Integer;
  if (text == kBinaryText) return VariableType::Binary;
  return std::nullopt;
}

bool AnyWhole(const std::vector<VariableType>& types) {
  return std::any_of(types.begin(), types.end(), IsWhole);
}

VariableTypesRead ReadVariableTypes(const std::vector<std::string>& fields, int variables) {
  VariableTypesRead read;
  const auto m = static_cast<std::size_t>(std::max(variables, 0));
  read.types.assign(m, VariableType::Continuous);
  for (std::size_t k = 0; k < fields.size(); ++k) {
    const std::optional<VariableType> type = VariableTypeOf(fields[k]);
    const std::string position = "变量类型记录的第" + std::to_string(k + 1) + "项";
    if (!type) {
      read.error = position + "不是连续、整数或0-1：" + fields[k];
      return read;
    }
    if (k >= m) {
      if (*type != VariableType::Continuous || !Trimmed(fields[k]).empty()) {
        read.error = position + "超出了变量个数" + std::to_string(m);
        return read;
      }
      continue;
    }
    read.types[k] = *type;
  }
  return read;
}

std::vector<std::string> VariableTypeFields(const std::vector<VariableType>& types) {
  std::vector<std::string> fields;
  fields.reserve(types.size());
  for (VariableType type : types) fields.emplace_back(VariableTypeText(type));
  return fields;
}

bool ApplyVariableList(std::string_view list, VariableType type, std::vector<VariableType>& types) {
  const std::size_t m = types.size();
  std::vector<VariableType> changed = types;
  std::size_t at = 0;
  while (at <= list.size()) {
    const std::size_t comma = std::min(list.find(',', at), list.size());
    const std::string_view item = list.substr(at, comma - at);
    const std::size_t dash = item.find('-');
    const auto first = VariableNumber(item.substr(0, dash), m);
    const auto last =
        dash == std::string_view::npos ? first : VariableNumber(item.substr(dash + 1), m);
    if (!first || !last || *last < *first) return false;
    for (std::size_t j = *first; j <= *last; ++j) changed[j - 1] = type;
    at = comma + 1;
  }
  types = std::move(changed);
  return true;
}

}  // namespace orcalc::integer
