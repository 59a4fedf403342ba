// The variable types as a sheet file keeps them and as a command line
// gives them.
#include "integer/variable_types.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "files/sheet_file.h"

namespace orcalc::integer {
namespace {

constexpr VariableType C = VariableType::Continuous, I = VariableType::Integer,
                       B = VariableType::Binary;

constexpr std::string_view kSheet =
    ",χ1 系数,χ2 系数,χ3 系数,约束符号,常数项\n"
    "目标函数系数,1,2,3, ═ , Max \n"
    "约束方程1,1,1,1, ≤ ,4\n";

TEST(VariableTypeRecord, TakenOffTheGridAndWrittenBack) {
  const std::string with = std::string(kSheet) + "变量类型,整数,0-1,连续\n";
  const SheetFileResult plain = ReadSheetCsv(kSheet);
  const SheetFileResult typed = ReadSheetCsv(with);
  ASSERT_TRUE(plain.ok && typed.ok);
  EXPECT_EQ(typed.sheet, plain.sheet);
  EXPECT_FALSE(plain.variable_types);
  ASSERT_TRUE(typed.variable_types);
  EXPECT_EQ(*typed.variable_types, (std::vector<std::string>{"整数", "0-1", "连续"}));
  EXPECT_EQ(WriteSheetCsv(typed.sheet, *typed.variable_types), with);
  EXPECT_EQ(WriteSheetCsv(plain.sheet, {}), kSheet);
  // Only as the last record: a row so labelled above it stays on the grid.
  const SheetFileResult inside = ReadSheetCsv("变量类型,整数\n" + std::string(kSheet));
  EXPECT_FALSE(inside.variable_types);
  EXPECT_EQ(inside.sheet.rows(), 4);
}

TEST(VariableTypeRecord, FieldsRead) {
  const struct {
    std::vector<std::string> fields;
    int variables;
    std::vector<VariableType> types;
    bool refused;
  } cases[] = {
      {{"整数", "0-1", "连续"}, 3, {I, B, C}, false},
      {{" 整数 ", ""}, 3, {I, C, C}, false},         // blanks, empty and missing fields
      {{"整数", "", "", "", ""}, 2, {I, C}, false},  // a spreadsheet's empty cells
      {{"整数", "integer"}, 2, {}, true},
      {{"整数", "整数", "整数"}, 2, {}, true},  // more types than variables
  };
  for (const auto& c : cases) {
    const VariableTypesRead read = ReadVariableTypes(c.fields, c.variables);
    EXPECT_EQ(!read.error.empty(), c.refused) << c.fields.size();
    if (!c.refused) {
      EXPECT_EQ(read.types, c.types);
    }
  }
  EXPECT_EQ(VariableTypeFields({I, B, C}), (std::vector<std::string>{"整数", "0-1", "连续"}));
}

TEST(VariableTypeRecord, CommandLineLists) {
  const struct {
    std::string list;
    std::vector<VariableType> types;  // empty: refused, nothing changed
  } cases[] = {
      // clang-format off
      {"1,3-5", {I, C, I, I, I}}, {"5", {C, C, C, C, I}}, {"2-2", {C, I, C, C, C}},
      {"0", {}}, {"6", {}}, {"3-1", {}}, {"1,,2", {}}, {"", {}}, {"1-", {}}, {"x", {}},
      // clang-format on
  };
  for (const auto& c : cases) {
    std::vector<VariableType> types(5, C);
    EXPECT_EQ(ApplyVariableList(c.list, I, types), !c.types.empty()) << c.list;
    EXPECT_EQ(types, c.types.empty() ? std::vector<VariableType>(5, C) : c.types) << c.list;
  }
}

}  // namespace
}  // namespace orcalc::integer
