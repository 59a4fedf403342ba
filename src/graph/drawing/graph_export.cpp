#include "graph/drawing/graph_export.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QPainter>
#include <QStringList>
#include <QSvgGenerator>

#include "graph/drawing/graph_picture.h"

namespace orcalc::ui {
namespace {

// Pixels per inch of the exported files: the picture measures its texts as
// a screen at this resolution would.
constexpr int kDotsPerInch = 96;

}  // namespace

GraphFileFormat graphFileFormat(const QString& path) {
  return path.endsWith(QStringLiteral(".svg"), Qt::CaseInsensitive) ? GraphFileFormat::Svg
                                                                    : GraphFileFormat::Png;
}

QFont graphFont() {
  static const QStringList kPreferred = {QStringLiteral("宋体"), QStringLiteral("SimSun"),
                                         QStringLiteral("Noto Sans CJK SC")};
  QStringList families;
  for (const QString& family : kPreferred) {
    if (QFontDatabase::hasFamily(family)) families << family;
  }
  QFont font;
  if (!families.isEmpty()) font.setFamilies(families);
  font.setPointSizeF(9);
  return font;
}

QImage renderGraphImage(const lp::GraphGeometry& geometry, QSize size, const QFont& font) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return image;
  const int dots_per_meter = qRound(kDotsPerInch / 0.0254);
  image.setDotsPerMeterX(dots_per_meter);
  image.setDotsPerMeterY(dots_per_meter);
  image.fill(QColor::fromRgba(kGraphBackgroundColour));
  QPainter painter(&image);
  GraphPicture(geometry, size, font, &image).paint(painter);
  return image;
}

QByteArray renderGraphFile(const lp::GraphGeometry& geometry, QSize size, const QFont& font,
                           GraphFileFormat format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (format == GraphFileFormat::Png) {
    const QImage image = renderGraphImage(geometry, size, font);
    if (image.isNull() || !image.save(&buffer, "PNG")) return {};
    return bytes;
  }
  QSvgGenerator svg;
  svg.setOutputDevice(&buffer);
  svg.setSize(size);
  svg.setViewBox(QRect(QPoint(0, 0), size));
  svg.setResolution(kDotsPerInch);
  svg.setTitle(QStringLiteral("图解法"));
  {
    QPainter painter(&svg);
    GraphPicture(geometry, size, font, &svg).paint(painter);
  }
  return bytes;
}

}  // namespace orcalc::ui
