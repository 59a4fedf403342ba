#include "printing/html_pages.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>

namespace orcalc::ui {

void paintHtmlPages(QPagedPaintDevice* device, const QString& html, const QFont& font) {
  QTextDocument document;
  document.setDefaultFont(font);
  document.setHtml(html);
  // The page's own faces would not hold the Chinese on every system: the
  // program's face throughout.
  QTextCursor everything(&document);
  everything.select(QTextCursor::Document);
  QTextCharFormat face;
  face.setFontFamilies(font.families().isEmpty() ? QStringList{font.family()} : font.families());
  face.setFontPointSize(font.pointSizeF());
  everything.mergeCharFormat(face);
  document.print(device);
}

int htmlPageColumns(QPagedPaintDevice* device, const QFont& font) {
  constexpr double kMarginInches = 2 / 2.54;  // QTextDocument::print's own margins
  const double width = device->width() - 2 * kMarginInches * device->logicalDpiX();
  const QFontMetricsF metrics(font, device);
  return static_cast<int>(width / metrics.horizontalAdvance(QLatin1Char('0')));
}

}  // namespace orcalc::ui
