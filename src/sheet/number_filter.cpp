#include "sheet/number_filter.h"

namespace orcalc::ui {

FilteredText filterNumberText(NumberField field, const QString& existing, const QString& incoming) {
  FilteredText result;
  for (QChar ch : incoming) {
    if (ch >= QLatin1Char('0') && ch <= QLatin1Char('9')) {
      result.accepted += ch;
    } else if (field == NumberField::Decimal &&
               (ch == QLatin1Char('.') || ch == QLatin1Char('-'))) {
      if (!existing.contains(ch) && !result.accepted.contains(ch)) result.accepted += ch;
    } else {
      result.refused = true;
    }
  }
  return result;
}

}  // namespace orcalc::ui
