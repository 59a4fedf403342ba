#include "printing/page_painting.h"

#include <QAbstractTextDocumentLayout>
#include <QPagedPaintDevice>
#include <QTextDocument>
#include <QTextOption>

namespace orcalc::ui {

void paintTextPages(QPagedPaintDevice* device, const QString& text, const QFont& font) {
  QTextDocument document;
  document.setDocumentMargin(0);
  document.setDefaultFont(font);
  QTextOption option = document.defaultTextOption();
  // A long line goes on below rather than off the page's edge.
  option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
  document.setDefaultTextOption(option);
  QString plain = text;
  plain.remove(QLatin1Char('\r'));
  document.setPlainText(plain);
  document.print(device);
}

int lineCount(const QString& text) {
  if (text.isEmpty()) return 0;
  const int ends = static_cast<int>(text.count(QLatin1Char('\n')));
  return text.endsWith(QLatin1Char('\n')) ? ends : ends + 1;
}

}  // namespace orcalc::ui
