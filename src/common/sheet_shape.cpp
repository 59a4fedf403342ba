#include "common/sheet_shape.h"

#include "files/text_decoding.h"

namespace orcalc {

std::string SheetMismatch(const Sheet& sheet, const Sheet& laid_out, const char* kind_name) {
  const std::string kind = std::string("不是") + kind_name + "表格";
  if (sheet.rows() != laid_out.rows() || sheet.cols() != laid_out.cols()) {
    return kind + "：表格的行数或列数不对";
  }
  auto differs = [&](int r, int c) {
    return kind + "：第 " + std::to_string(r + 1) + " 行第 " + std::to_string(c + 1) + " 列应为“" +
           laid_out.Cell(r, c) + "”，文件中是“" + sheet.Cell(r, c) + "”";
  };
  for (int c = 1; c < sheet.cols(); ++c) {
    if (sheet.Cell(0, c) != laid_out.Cell(0, c)) return differs(0, c);
  }
  for (int r = 1; r < sheet.rows(); ++r) {
    if (sheet.Cell(r, 0) != laid_out.Cell(r, 0)) return differs(r, 0);
  }
  return {};
}

namespace {

bool HoldsSign(const std::string& text) {
  if (text.find_first_not_of(" \t") == std::string::npos) return true;
  for (const char* sign : {"≤", "≥", "═"}) {
    if (text.find(sign) != std::string::npos) return true;
  }
  return !PlainSignText(text).empty();
}

}  // namespace

std::string SignColumnMismatch(const Sheet& sheet, int sign_col, int first_row,
                               const char* kind_name) {
  for (int r = first_row; r < sheet.rows(); ++r) {
    const std::string& text = sheet.Cell(r, sign_col);
    if (HoldsSign(text)) continue;
    return std::string("不是") + kind_name + "表格：第 " + std::to_string(r + 1) + " 行第 " +
           std::to_string(sign_col + 1) + " 列应为约束符号，文件中是“" + text + "”";
  }
  return {};
}

std::string SignCellText(const std::string& text) {
  std::string sign = PlainSignText(text);
  return sign.empty() ? text : sign;
}

}  // namespace orcalc
