#include "results/report_font.h"

#include <QFontDatabase>
#include <QStringList>

namespace orcalc::ui {

QFont reportFont(const QFont& base) {
  static const QStringList kPreferred = {QStringLiteral("宋体"), QStringLiteral("SimSun"),
                                         QStringLiteral("Noto Sans Mono CJK SC")};
  QStringList families;
  for (const QString& family : kPreferred) {
    if (QFontDatabase::hasFamily(family)) families << family;
  }
  QFont font = base;
  if (families.isEmpty()) {
    font.setStyleHint(QFont::Monospace);
    font.setFamily(QStringLiteral("Monospace"));
  } else {
    font.setFamilies(families);
  }
  font.setPointSizeF(10.5);
  return font;
}

}  // namespace orcalc::ui
