#include "lp/lp_sheet_file.h"

#include <cctype>

#include "common/common_texts.h"
#include "common/numeric_reading.h"
#include "common/sheet_shape.h"
#include "lp/lp_sheet.h"
#include "lp/lp_texts.h"

namespace orcalc::lp {

LpSheetFit FitLpSheet(const Sheet& sheet) {
  LpSheetFit fit;
  if (sheet.rows() < 2 || sheet.cols() < 3) {
    fit.mismatch = kNotLpSheetMessage;
    return fit;
  }
  fit.variables = sheet.cols() - 3;
  fit.constraints = sheet.rows() - 2;
  if (fit.variables > kMaxCount || fit.constraints > kMaxCount) {
    fit.mismatch = kSheetTooLargeMessage;
    return fit;
  }
  fit.sense = SenseFromSheet(sheet);
  Sheet laid_out;
  LayOutSheet(laid_out, fit.variables, fit.constraints, fit.sense);
  const std::string headers = SheetMismatch(sheet, laid_out, kLpSheetKind);
  fit.as_laid_out = headers.empty();
  if (fit.as_laid_out) return fit;
  // Named freely: the sign column decides (the objective row's sign cell is
  // the layout's whatever it holds).
  fit.mismatch = sheet.rows() == laid_out.rows() && sheet.cols() == laid_out.cols()
                     ? SignColumnMismatch(sheet, sheet.cols() - 2, 2, kLpSheetKind)
                     : headers;
  return fit;
}

Sense SenseFromSheet(const Sheet& sheet) {
  std::string bare;
  for (char c : sheet.Cell(1, sheet.cols() - 1)) {
    if (c != ' ' && c != '\t')
      bare.push_back(static_cast<char>(std::tolower(static_cast<unsigned char>(c))));
  }
  return bare == "max" ? Sense::Maximise : Sense::Minimise;
}

}  // namespace orcalc::lp
