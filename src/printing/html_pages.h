// Pages of an HTML page (tables, headings) on a printer or a PDF writer.
#pragma once

#include <QFont>
#include <QString>

class QPagedPaintDevice;

namespace orcalc::ui {

// Lays `html` out on the pages of `device`, every text in `font`'s face and
// size whatever the page asks for, and paints every page.
void paintHtmlPages(QPagedPaintDevice* device, const QString& html, const QFont& font);

// How many columns of `font`'s fixed-pitch face a line of those pages holds
// (the device's page less the 2 cm margins the layout keeps on each side).
int htmlPageColumns(QPagedPaintDevice* device, const QFont& font);

}  // namespace orcalc::ui
