#include "lp/lp_sheet_file.h"

#include <cctype>

#include "common/common_texts.h"
#include "common/numeric_reading.h"
#include "common/sheet_layout.h"
#include "common/sheet_shape.h"
#include "lp/lp_sheet.h"
#include "lp/lp_texts.h"

namespace orcalc::lp {

LpSheetFit FitLpSheet(const Sheet& sheet) {
  LpSheetFit fit;
  constexpr SheetLayout layout = kLpSheetLayout;
  if (sheet.rows() < layout.SmallestRows() || sheet.cols() < layout.SmallestCols()) {
    fit.mismatch = kNotLpSheetMessage;
    return fit;
  }
  fit.variables = layout.VariablesFromCols(sheet.cols());
  fit.constraints = layout.CountFromRows(sheet.rows());
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
                     ? SignColumnMismatch(sheet, layout.SignCol(fit.variables),
                                          layout.first_count_row, kLpSheetKind)
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
