#include "sheet/sheet_font.h"

#include <QFontDatabase>
#include <QString>
#include <QStringList>

namespace orcalc::ui {

QFont sheetFont() {
  // The first installed family wins; the rest stay as glyph fallbacks.
  static const QStringList kPreferred = {QStringLiteral("宋体"), QStringLiteral("SimSun"),
                                         QStringLiteral("Noto Serif CJK SC")};
  QStringList families;
  for (const QString& family : kPreferred) {
    if (QFontDatabase::hasFamily(family)) families << family;
  }
  if (families.isEmpty()) families = kPreferred;
  QFont font;
  font.setFamilies(families);
  font.setPointSizeF(11.25);
  font.setWeight(QFont::Normal);
  font.setStyle(QFont::StyleNormal);
  return font;
}

}  // namespace orcalc::ui
