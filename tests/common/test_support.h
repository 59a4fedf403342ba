// Helpers shared by the core's tests.
#pragma once

#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>

#include "files/sheet_file.h"

namespace orcalc {

// The bytes of a file in tests/data.
inline std::string TestData(std::string_view name) {
  std::ifstream in(std::string(ORCALC_TEST_DATA) + "/" + std::string(name), std::ios::binary);
  if (!in) ADD_FAILURE() << "no test data file " << name;
  return {std::istreambuf_iterator<char>(in), {}};
}

// A sheet from CSV text; a literal that does not parse fails the test that
// uses it rather than giving an empty sheet.
inline Sheet SheetFromCsv(std::string_view csv) {
  SheetFileResult read = ReadSheetCsv(csv);
  if (!read.ok) ADD_FAILURE() << "the sheet literal does not parse: " << read.error;
  return read.sheet;
}

// A table row's description as a test name: "a single point, inside" gives
// "a_single_point_inside".
inline std::string TestName(std::string_view what) {
  std::string name;
  for (char c : what) {
    if (std::isalnum(static_cast<unsigned char>(c))) {
      name += c;
    } else if (!name.empty() && name.back() != '_') {
      name += '_';
    }
  }
  while (!name.empty() && name.back() == '_') name.pop_back();
  return name;
}

// The name generator of a table whose rows describe themselves in `what`.
struct RowName {
  template <typename Row>
  std::string operator()(const ::testing::TestParamInfo<Row>& info) const {
    return TestName(info.param.what);
  }
};

}  // namespace orcalc
