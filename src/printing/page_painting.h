// Pages of a report on a printer or a PDF writer.
#pragma once

#include <QFont>
#include <QString>

class QPagedPaintDevice;

namespace orcalc::ui {

// The most lines a text is printed with: a longer report is refused (it
// would take the window minutes and thousands of pages), with a message
// asking to save it instead.
inline constexpr int kMostPrintedLines = 20000;

// Lays `text` (lines separated by LF or CR LF) out in `font` on the pages of
// `device`, wrapping a line wider than the page, and paints every page.
void paintTextPages(QPagedPaintDevice* device, const QString& text, const QFont& font);

// The number of lines of `text`.
int lineCount(const QString& text);

}  // namespace orcalc::ui
