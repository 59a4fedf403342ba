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

#include "geometry/graph_geometry.h"

class QPaintDevice;
class QPainter;

namespace orcalc::ui {

inline constexpr QRgb kGraphBackgroundColour = 0xffffffff;
inline constexpr QRgb kGraphRegionColour = 0xffcfe3f7;   // the feasible region's fill
inline constexpr QRgb kGraphOptimumColour = 0xffd0201c;  // the optimum, its edge and its label
inline constexpr QRgb kGraphLatticeColour = 0xff404040;  // the whole-number points
inline constexpr QRgb kGraphIntegerOptimumColour = 0xff1a7f37;  // the best of them, its label

// A label of the picture where it is drawn: the optimum's, a corner's
// coordinates or a constraint's name.
struct GraphLabel {
  QString text;
  QRectF rect;
  QRgb colour = 0;
  bool bold = false;
  // The corner it names, joined to it by a thin line when the label had to
  // go farther away; none for a constraint's name.
  bool hasAnchor = false;
  QPointF anchor;
};

// What labels must leave uncovered, as rectangles in the picture.
struct GraphMarks {
  std::vector<QRectF> axes;         // both axes with their ticks
  std::vector<QRectF> arrowHeads;   // the axes' arrow heads
  std::vector<QRectF> axisNames;    // χ1 and χ2
  std::vector<QRectF> tickLabels;   // the numbers at the ticks
  std::vector<QRectF> cornerMarks;  // the dots on the corners
  std::vector<QRectF> others;       // the caption, the message, the improving arrow
};

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
  // The rectangle of the drawing box [χ1 min, χ1 max] × [χ2 min, χ2 max].
  QRectF plotArea() const { return plot_; }

  void paint(QPainter& painter) const;

  // Where the labels go: each where it overlaps no other label and none of
  // the marks, near what it names; the optimum's first, then the corners',
  // then the constraints'. A label with no room anywhere is left out.
  std::vector<GraphLabel> placeLabels() const;
  // The axes, ticks, corner dots and texts as drawn, which labels keep off.
  GraphMarks marks() const;

 private:
  // A rectangle for `label` in `font` next to `anchor`, on the side `away`
  // points to (a unit vector in the picture), inside the picture.
  QRectF labelRect(const QString& label, const QFont& font, QPointF anchor, QPointF away) const;
  // Candidate rectangles around `anchor`: on the side `away` first, then
  // turning both ways.
  std::vector<QRectF> labelRectsAround(const QString& label, const QFont& font, QPointF anchor,
                                       QPointF away) const;
  // Candidate rectangles for a corner's label anywhere in the picture,
  // nearest to `anchor` first.
  std::vector<QRectF> labelRectsAnywhere(const QString& label, const QFont& font,
                                         QPointF anchor) const;
  // Candidate rectangles for a constraint's name along its piece in the box.
  std::vector<QRectF> lineLabelRects(const lp::GraphConstraintLine& line,
                                     const QString& label) const;
  // Picks a candidate for a label: inside the picture and overlapping none
  // of `taken`; of those the first that crosses none of `strokes`, leaves
  // `keep_clear` uncovered and lies in the plot area, else the first that
  // gives up the least of that (`keep_clear` first, then the plot area,
  // then the strokes). False when none is free.
  bool firstFree(const std::vector<QRectF>& candidates, const std::vector<QRectF>& taken,
                 const std::vector<QLineF>& strokes, const QPainterPath& keep_clear,
                 QRectF& chosen) const;
  static void drawLabel(QPainter& painter, const GraphLabel& label);
  // The labels placed so far and what they keep off: the marks and labels
  // already there, the strokes, and the region, which corner labels point
  // away from.
  struct LabelPlacement {
    std::vector<QRectF> taken;
    std::vector<QLineF> lines;
    QPainterPath region;
    QPointF centre;
    // Corner labels that may still search the whole picture for room.
    int searches_left = 0;
    std::vector<GraphLabel> placed;
  };
  LabelPlacement startPlacement() const;
  // A corner's label near it, else anywhere with a line to it.
  void placeAtCorner(LabelPlacement& placement, GraphLabel label, QPointF at) const;
  // "约束方程i" beside its line, beyond the hatch, where there is room.
  void placeLineLabels(LabelPlacement& placement) const;
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
  // The whole-number points as small dots, the best of them as a ring.
  void paintLattice(QPainter& painter) const;
  void paintLabels(QPainter& painter) const;
  // The drawn lines labels should not cross: the constraints' and the
  // level line (an optimal edge lies on a constraint's line).
  std::vector<QLineF> strokes() const;
  // The width of the box along each axis.
  double span1() const { return geometry_.box.x1_max - geometry_.box.x1_min; }
  double span2() const { return geometry_.box.x2_max - geometry_.box.x2_min; }
  void paintTexts(QPainter& painter) const;

  const lp::GraphGeometry& geometry_;
  QSizeF size_;
  QFont font_;
  const QPaintDevice* device_;
  QRectF plot_;
};

}  // namespace orcalc::ui
