// The type of each variable of a linear program: continuous, as the
// simplex method takes it, a whole number, or 0-1.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orcalc::integer {

enum class VariableType { Continuous, Integer, Binary };

// "连续", "整数", "0-1".
std::string_view VariableTypeText(VariableType type);
// The type a field names, blanks around it ignored; an empty field is
// continuous. Nothing for any other text.
std::optional<VariableType> VariableTypeOf(std::string_view text);

// Whether a variable of this type must take a whole-number value.
inline bool IsWhole(VariableType type) { return type != VariableType::Continuous; }
// Whether any variable must take a whole-number value.
bool AnyWhole(const std::vector<VariableType>& types);

struct VariableTypesRead {
  std::vector<VariableType> types;  // one per variable
  std::string error;                // in Chinese, empty when read
};

// The fields of a sheet file's types record (after its label) for m
// variables. Trailing empty fields are ignored; fewer fields than variables
// leave the rest continuous; a field naming no type, or a non-empty field
// beyond the m-th, is refused.
VariableTypesRead ReadVariableTypes(const std::vector<std::string>& fields, int variables);

// The record's fields after its label, one per variable.
std::vector<std::string> VariableTypeFields(const std::vector<VariableType>& types);

// Applies a command line's list of 1-based variable numbers ("1,3-5") as
// `type` over `types`; false, with `types` unchanged, unless the list is
// well-formed and every number is within 1..types.size().
bool ApplyVariableList(std::string_view list, VariableType type, std::vector<VariableType>& types);

}  // namespace orcalc::integer
