// The picture of the graphical method as an image or as file bytes (PNG or
// SVG), drawn by GraphPicture. Needs Qt GUI and Qt SVG only, and a
// QGuiApplication for the fonts.
#pragma once

#include <QByteArray>
#include <QFont>
#include <QImage>
#include <QSize>
#include <QString>

#include "geometry/graph_geometry.h"

namespace orcalc::ui {

enum class GraphFileFormat { Png, Svg };

// SVG for a name ending in ".svg" (any case), PNG for every other name.
GraphFileFormat graphFileFormat(const QString& path);

// The program's Chinese face (as the windows use it) for a picture drawn
// without them.
QFont graphFont();

QImage renderGraphImage(const lp::GraphGeometry& geometry, QSize size, const QFont& font);

// The picture's file bytes in `format`; empty when they could not be made
// (no memory for the image).
QByteArray renderGraphFile(const lp::GraphGeometry& geometry, QSize size, const QFont& font,
                           GraphFileFormat format);

}  // namespace orcalc::ui
