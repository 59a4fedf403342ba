// The picture of the graphical method, drawn with QPainter on any paint
// device: the window's view, an image or an SVG file. Needs Qt GUI only (no
// widgets), so that orcalc-cli draws with the same code.
#pragma once

#include <QFont>
#include <QLineF>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QRgb>
#include <QSizeF>
#include <QString>
#include <vector>

#include "lp/graph_geometry.h"

class QPaintDevice;
class QPainter;

namespace orcalc::ui {

inline constexpr QRgb kGraphBackgroundColour = 0xffffffff;
inline constexpr QRgb kGraphRegionColour = 0xffcfe3f7;   // the feasible region's fill
inline constexpr QRgb kGraphOptimumColour = 0xffd0201c;  // the optimum, its edge and its label

// One picture of `geometry` in a rectangle of `size` (device-independent
// pixels) from the origin, with its texts in `font` as measured on `device`
// (the one it will be painted on). Keeps references to `geometry` and
// `device`, which must outlive it.
class GraphPicture {
 public:
  GraphPicture(const lp::GraphGeometry& geometry, QSizeF size, const QFont& font,
               const QPaintDevice* device);

  // Where a point of the plane lands in the picture.
  QPointF map(lp::GraphPoint point) const;
  // The rectangle of the drawing box [0, χ1 max] × [0, χ2 max].
  QRectF plotArea() const { return plot_; }

  void paint(QPainter& painter) const;

 private:
  // A label's rectangle for `text` in `font` next to `anchor`, on the side
  // `away` points to (a unit vector in the picture), inside the picture.
  QRectF labelRect(const QString& text, const QFont& font, QPointF anchor, QPointF away) const;
  // Candidate rectangles around `anchor`: on the side `away` first, then
  // turning both ways.
  std::vector<QRectF> labelRectsAround(const QString& text, const QFont& font, QPointF anchor,
                                       QPointF away) const;
  // The first of the candidate rectangles that overlaps none of `taken` and
  // leaves `keep_clear` uncovered, else the first that overlaps none of
  // `taken`, else the first; it is added to `taken`.
  static QRectF firstFree(const std::vector<QRectF>& candidates, std::vector<QRectF>& taken,
                          const QPainterPath& keep_clear);
  static void drawLabel(QPainter& painter, const QRectF& rect, const QString& text, QRgb colour);
  // The unit vector in the picture that the plane's vector `v` turns into
  // (directions only: the two axes have their own scales).
  QPointF mapDirection(lp::GraphPoint v) const;
  bool optimal(std::size_t corner) const;
  // The numbers at the ticks of both axes and where they go.
  struct TickLabel {
    QString text;
    QRectF rect;
  };
  std::vector<TickLabel> tickLabels() const;
  // The arrow from the level line's corner in the improving direction (the
  // objective's gradient in the picture's own scales, times the sense).
  QLineF improvingArrow() const;

  void paintRegion(QPainter& painter) const;
  void paintAxes(QPainter& painter) const;
  void paintLines(QPainter& painter) const;
  void paintObjective(QPainter& painter) const;
  void paintOptimalSet(QPainter& painter) const;
  void paintCorners(QPainter& painter) const;
  // The labels, most important first, each where it covers no earlier one:
  // the optimum, the corners' coordinates, the constraints' names.
  void paintLabels(QPainter& painter) const;
  void paintTexts(QPainter& painter) const;

  const lp::GraphGeometry& geometry_;
  QSizeF size_;
  QFont font_;
  const QPaintDevice* device_;
  QRectF plot_;
};

}  // namespace orcalc::ui
