#include "graph/drawing/graph_picture.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>

#include "common/number_text.h"
#include "geometry/graph_text.h"

namespace orcalc::ui {
namespace {

using lp::GraphPoint;

constexpr QRgb kAxisColour = 0xff202020;
constexpr QRgb kGridColour = 0xffd8d8d8;
constexpr QRgb kRegionBorderColour = 0xff5b8fc7;
constexpr QRgb kLevelColour = 0xff8c1a16;
constexpr QRgb kCornerColour = 0xff000000;
constexpr QRgb kMessageColour = 0xffc00000;
// The constraints' colours, in turn.
constexpr QRgb kLineColours[] = {0xff1f5fa8, 0xff2e8b3a, 0xffb5651d, 0xff7b3fa0,
                                 0xff1a8a8a, 0xff9a7d0a, 0xff5d5d5d, 0xffa0306a};

constexpr double kTickLength = 4;
constexpr double kArrowRoom = 14;  // the axes go on this far beyond the box
constexpr double kHatchSpacing = 9;
constexpr double kLabelGap = 6;
// Coordinates and values in the picture have this many significant digits
// (orcalc-cli graph lists them in full).
constexpr int kPictureDigits = 6;
// A corner's label farther than this from its dot is joined to it by a line.
constexpr double kLeaderDistance = 20;
// How many corners' labels may be looked for all over the picture.
constexpr int kWholePictureSearches = 12;

QString text(const std::string& utf8) { return QString::fromStdString(utf8); }

QPointF unit(QPointF v) {
  const double length = std::hypot(v.x(), v.y());
  return length > 0 ? v / length : QPointF(0, 0);
}

// The number of tick intervals along an axis, kept within reason whatever
// the box.
int intervals(double max, double step) {
  if (!(step > 0) || !(max > 0)) return 1;
  return static_cast<int>(std::clamp(std::floor(max / step * (1 + 1e-9)), 1.0, 50.0));
}

// Whether the segment `line` crosses or touches `rect`.
bool crosses(const QLineF& line, const QRectF& rect) {
  // The segment clipped to the rectangle's slabs, one axis at a time.
  double t0 = 0, t1 = 1;
  const double p[2] = {line.x1(), line.y1()};
  const double d[2] = {line.dx(), line.dy()};
  const double lo[2] = {rect.left(), rect.top()}, hi[2] = {rect.right(), rect.bottom()};
  for (int i = 0; i < 2; ++i) {
    if (d[i] == 0) {
      if (p[i] < lo[i] || p[i] > hi[i]) return false;
      continue;
    }
    double a = (lo[i] - p[i]) / d[i], b = (hi[i] - p[i]) / d[i];
    if (a > b) std::swap(a, b);
    t0 = std::max(t0, a);
    t1 = std::min(t1, b);
    if (t0 > t1) return false;
  }
  return true;
}

// The point of `rect` nearest to `p`.
QPointF nearestPoint(const QRectF& rect, QPointF p) {
  return {std::clamp(p.x(), rect.left(), rect.right()),
          std::clamp(p.y(), rect.top(), rect.bottom())};
}

// The radius of a corner's dot (its white edge included).
double cornerRadius(bool optimum) { return optimum ? 6.5 : 4.5; }

void drawArrowHead(QPainter& painter, QPointF tip, QPointF direction, double size) {
  const QPointF d = unit(direction), n(-d.y(), d.x());
  QPolygonF head;
  head << tip << tip - d * size + n * size * 0.45 << tip - d * size - n * size * 0.45;
  painter.drawPolygon(head);
}

}  // namespace

GraphPicture::GraphPicture(const lp::GraphGeometry& geometry, QSizeF size, const QFont& font,
                           const QPaintDevice* device)
    : geometry_(geometry), size_(size), font_(font), device_(device) {
  const QFontMetricsF metrics(font_, device_);
  const lp::GraphBox& box = geometry_.box;
  const int ticks2 = intervals(box.x2_max - box.x2_min, box.x2_step);
  double widest_tick = metrics.horizontalAdvance(QStringLiteral("0"));
  for (int k = 0; k <= ticks2; ++k) {
    widest_tick = std::max(
        widest_tick, metrics.horizontalAdvance(text(PlainNumber(box.x2_min + k * box.x2_step))));
  }
  const double left = widest_tick + kTickLength + 10;
  const double right = metrics.horizontalAdvance(QStringLiteral("χ1")) + kArrowRoom + 12;
  const double top = 2 * metrics.height() + kArrowRoom + 10;  // the caption, the message, χ2
  const double bottom = metrics.height() + kTickLength + 10;
  plot_ = QRectF(left, top, std::max(10.0, size_.width() - left - right),
                 std::max(10.0, size_.height() - top - bottom));
}

QPointF GraphPicture::map(GraphPoint point) const {
  const lp::GraphBox& box = geometry_.box;
  return {plot_.left() + (point.x1 - box.x1_min) / span1() * plot_.width(),
          plot_.bottom() - (point.x2 - box.x2_min) / span2() * plot_.height()};
}

QPointF GraphPicture::mapDirection(GraphPoint v) const {
  return unit(QPointF(v.x1 / span1() * plot_.width(), -v.x2 / span2() * plot_.height()));
}

QRectF GraphPicture::labelRect(const QString& label, const QFont& font, QPointF anchor,
                               QPointF away) const {
  const QFontMetricsF metrics(font, device_);
  const QSizeF extent(metrics.horizontalAdvance(label) + 4, metrics.height() + 2);
  const QPointF d = unit(away);
  // Far enough along `away` that the rectangle clears the anchor.
  const double reach =
      kLabelGap + 0.5 * (std::abs(d.x()) * extent.width() + std::abs(d.y()) * extent.height());
  QRectF rect(QPointF(0, 0), extent);
  rect.moveCenter(anchor + d * reach);
  const double x = std::clamp(rect.left(), 2.0, std::max(2.0, size_.width() - extent.width() - 2));
  const double y = std::clamp(rect.top(), 2.0, std::max(2.0, size_.height() - extent.height() - 2));
  rect.moveTopLeft(QPointF(x, y));
  return rect;
}

std::vector<QRectF> GraphPicture::labelRectsAround(const QString& label, const QFont& font,
                                                   QPointF anchor, QPointF away) const {
  // Close to the anchor first, then farther out; on the side `away` first.
  std::vector<QRectF> candidates;
  for (double distance : {0.0, 12.0, 26.0, 44.0}) {
    for (double turn : {0.0, 0.4, -0.4, 0.8, -0.8, 1.2, -1.2, 1.6, -1.6, 2.0, -2.0, 2.4, -2.4, 2.8,
                        -2.8, 3.1416}) {
      const double c = std::cos(turn), s = std::sin(turn);
      const QPointF d(c * away.x() - s * away.y(), s * away.x() + c * away.y());
      candidates.push_back(labelRect(label, font, anchor + d * distance, d));
    }
  }
  return candidates;
}

std::vector<QRectF> GraphPicture::labelRectsAnywhere(const QString& label, const QFont& font,
                                                     QPointF anchor) const {
  const QFontMetricsF metrics(font, device_);
  const QSizeF extent(metrics.horizontalAdvance(label) + 4, metrics.height() + 2);
  std::vector<QRectF> candidates;
  constexpr double kStep = 8;
  for (double y = 2; y + extent.height() <= size_.height() - 2; y += kStep) {
    for (double x = 2; x + extent.width() <= size_.width() - 2; x += kStep) {
      candidates.emplace_back(QPointF(x, y), extent);
    }
  }
  auto distance = [&](const QRectF& rect) {
    const QPointF d = nearestPoint(rect, anchor) - anchor;
    return d.x() * d.x() + d.y() * d.y();
  };
  std::stable_sort(candidates.begin(), candidates.end(),
                   [&](const QRectF& a, const QRectF& b) { return distance(a) < distance(b); });
  return candidates;
}

std::vector<QRectF> GraphPicture::lineLabelRects(const lp::GraphConstraintLine& line,
                                                 const QString& label) const {
  QPointF from = map(line.from), to = map(line.to);
  if (from.y() > to.y()) std::swap(from, to);  // from the upper end
  const QPointF along = unit(to - from);
  QPointF side(-along.y(), along.x());
  const QPointF outward = line.sign == lp::kEqual ? QPointF(0, -1)  // above an equality
                                                  : mapDirection(line.infeasible_side);
  if (side.x() * outward.x() + side.y() * outward.y() < 0) side = -side;
  // Beyond the hatch first, near where the line enters the box; then the
  // other side, then farther out.
  std::vector<QRectF> candidates;
  for (double offset : {6.0, 20.0}) {
    for (const QPointF& s : {side, -side}) {
      for (double t : {0.12, 0.88, 0.35, 0.65, 0.5, 0.02, 0.98, 0.22, 0.78, 0.44, 0.56}) {
        candidates.push_back(labelRect(label, font_, from + (to - from) * t + s * offset, s));
      }
    }
  }
  return candidates;
}

bool GraphPicture::firstFree(const std::vector<QRectF>& candidates,
                             const std::vector<QRectF>& taken, const std::vector<QLineF>& strokes,
                             const QPainterPath& keep_clear, QRectF& chosen) const {
  const QRectF picture(QPointF(0, 0), size_);
  auto free = [&](const QRectF& candidate) {
    return picture.contains(candidate) &&
           std::none_of(taken.begin(), taken.end(),
                        [&](const QRectF& other) { return other.intersects(candidate); });
  };
  auto clear_of_strokes = [&](const QRectF& candidate) {
    return std::none_of(strokes.begin(), strokes.end(),
                        [&](const QLineF& stroke) { return crosses(stroke, candidate); });
  };
  auto inside = [&](const QRectF& c) { return plot_.contains(c); };
  const std::function<bool(const QRectF&)> passes[] = {
      [&](const QRectF& c) {
        return free(c) && clear_of_strokes(c) && !keep_clear.intersects(c) && inside(c);
      },
      [&](const QRectF& c) { return free(c) && clear_of_strokes(c) && inside(c); },
      [&](const QRectF& c) { return free(c) && clear_of_strokes(c); },
      [&](const QRectF& c) { return free(c) && inside(c); },
      free,
  };
  for (const auto& pass : passes) {
    auto found = std::find_if(candidates.begin(), candidates.end(), pass);
    if (found != candidates.end()) {
      chosen = *found;
      return true;
    }
  }
  return false;
}

void GraphPicture::drawLabel(QPainter& painter, const GraphLabel& label) {
  if (label.hasAnchor &&
      QLineF(label.anchor, nearestPoint(label.rect, label.anchor)).length() > kLeaderDistance) {
    painter.setPen(QPen(QColor::fromRgba(label.colour), 0.8));
    painter.drawLine(label.anchor, nearestPoint(label.rect, label.anchor));
  }
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(255, 255, 255, 215));
  painter.drawRect(label.rect);
  painter.setPen(QColor::fromRgba(label.colour));
  painter.drawText(label.rect, Qt::AlignCenter, label.text);
}

bool GraphPicture::optimal(std::size_t corner) const {
  const lp::GraphOptimum& optimum = geometry_.optimum;
  return geometry_.outcome == lp::GraphOutcome::Optimal &&
         std::find(optimum.corners.begin(), optimum.corners.end(), static_cast<int>(corner)) !=
             optimum.corners.end();
}

void GraphPicture::paint(QPainter& painter) const {
  painter.save();
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setRenderHint(QPainter::TextAntialiasing);
  painter.setFont(font_);
  painter.fillRect(QRectF(QPointF(0, 0), size_), QColor::fromRgba(kGraphBackgroundColour));
  paintRegion(painter);
  paintAxes(painter);
  paintLines(painter);
  paintObjective(painter);
  paintOptimalSet(painter);
  paintCorners(painter);
  paintLattice(painter);
  paintLabels(painter);
  paintTexts(painter);
  painter.restore();
}

void GraphPicture::paintLattice(QPainter& painter) const {
  if (!geometry_.lattice) return;
  const lp::GraphLattice& lattice = *geometry_.lattice;
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor::fromRgba(kGraphLatticeColour));
  for (const lp::GraphPoint& point : lattice.points) painter.drawEllipse(map(point), 2.0, 2.0);
  if (!lattice.optimum) return;
  painter.setPen(QPen(QColor::fromRgba(kGraphIntegerOptimumColour), 2.5));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(map(*lattice.optimum), 8.0, 8.0);  // within the 9.5 marks() keeps clear
}

void GraphPicture::paintRegion(QPainter& painter) const {
  // Clipped to the box. The constraint lines and the axes draw its edges; a
  // region that is a segment or a point, with nothing to fill, is drawn
  // thick.
  if (geometry_.shaded.empty()) return;
  QPolygonF region;
  for (const GraphPoint& p : geometry_.shaded) region << map(p);
  double twice_area = 0;
  for (qsizetype i = 0; i < region.size(); ++i) {
    const QPointF a = region[i], b = region[(i + 1) % region.size()];
    twice_area += a.x() * b.y() - b.x() * a.y();
  }
  const QColor border = QColor::fromRgba(kRegionBorderColour);
  if (std::abs(twice_area) >= 2) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgba(kGraphRegionColour));
    painter.drawPolygon(region);
  } else if (region.size() == 1) {
    painter.setPen(Qt::NoPen);
    painter.setBrush(border);
    painter.drawEllipse(region.front(), 5, 5);
  } else {
    painter.setPen(QPen(border, 5, Qt::SolidLine, Qt::RoundCap));
    painter.drawPolyline(region);
  }
}

std::vector<GraphPicture::TickLabel> GraphPicture::tickLabels() const {
  const lp::GraphBox& box = geometry_.box;
  const int ticks1 = intervals(span1(), box.x1_step);
  const int ticks2 = intervals(span2(), box.x2_step);
  const QFontMetricsF metrics(font_, device_);
  std::vector<TickLabel> labels;
  for (int k = 0; k <= ticks1; ++k) {
    const QString number = text(PlainNumber(box.x1_min + k * box.x1_step));
    const double width = metrics.horizontalAdvance(number);
    const double x = map({box.x1_min + k * box.x1_step, box.x2_min}).x();
    labels.push_back(
        {number, QRectF(x - width / 2, plot_.bottom() + kTickLength + 2, width, metrics.height())});
  }
  for (int k = 1; k <= ticks2; ++k) {
    const QString number = text(PlainNumber(box.x2_min + k * box.x2_step));
    const double width = metrics.horizontalAdvance(number);
    const double y = map({box.x1_min, box.x2_min + k * box.x2_step}).y();
    labels.push_back({number, QRectF(plot_.left() - kTickLength - 3 - width,
                                     y - metrics.height() / 2, width, metrics.height())});
  }
  return labels;
}

void GraphPicture::paintAxes(QPainter& painter) const {
  const lp::GraphBox& box = geometry_.box;
  const int ticks1 = intervals(span1(), box.x1_step);
  const int ticks2 = intervals(span2(), box.x2_step);
  const QFontMetricsF metrics(font_, device_);
  // The grid, the ticks and their numbers.
  painter.setPen(QPen(QColor::fromRgba(kGridColour), 1, Qt::DotLine));
  for (int k = 1; k <= ticks1; ++k) {
    const double x = map({box.x1_min + k * box.x1_step, box.x2_min}).x();
    painter.drawLine(QPointF(x, plot_.top()), QPointF(x, plot_.bottom()));
  }
  for (int k = 1; k <= ticks2; ++k) {
    const double y = map({box.x1_min, box.x2_min + k * box.x2_step}).y();
    painter.drawLine(QPointF(plot_.left(), y), QPointF(plot_.right(), y));
  }
  const QPen axis(QColor::fromRgba(kAxisColour), 1.2);
  painter.setPen(axis);
  for (int k = 0; k <= ticks1; ++k) {
    const double x = map({box.x1_min + k * box.x1_step, box.x2_min}).x();
    painter.drawLine(QPointF(x, plot_.bottom()), QPointF(x, plot_.bottom() + kTickLength));
  }
  for (int k = 0; k <= ticks2; ++k) {
    const double y = map({box.x1_min, box.x2_min + k * box.x2_step}).y();
    painter.drawLine(QPointF(plot_.left() - kTickLength, y), QPointF(plot_.left(), y));
  }
  for (const TickLabel& label : tickLabels()) {
    painter.drawText(label.rect, Qt::AlignRight | Qt::AlignVCenter, label.text);
  }
  // The two axes with arrows and names.
  painter.setBrush(QColor::fromRgba(kAxisColour));
  const QPointF origin = plot_.bottomLeft();
  const QPointF x_end(plot_.right() + kArrowRoom, origin.y());
  const QPointF y_end(origin.x(), plot_.top() - kArrowRoom);
  painter.drawLine(origin, x_end);
  painter.drawLine(origin, y_end);
  drawArrowHead(painter, x_end, QPointF(1, 0), 8);
  drawArrowHead(painter, y_end, QPointF(0, -1), 8);
  painter.drawText(QPointF(x_end.x() + 4, x_end.y() + (metrics.ascent() - metrics.descent()) / 2),
                   QStringLiteral("χ1"));
  painter.drawText(QPointF(y_end.x() + 6, y_end.y() + metrics.ascent() / 2), QStringLiteral("χ2"));
}

void GraphPicture::paintLines(QPainter& painter) const {
  std::size_t turn = 0;
  for (const lp::GraphConstraintLine& line : geometry_.lines) {
    const QColor colour = QColor::fromRgba(kLineColours[turn++ % std::size(kLineColours)]);
    if (!line.visible) continue;
    const QPointF from = map(line.from), to = map(line.to);
    const bool equality = line.sign == lp::kEqual;
    painter.setPen(QPen(colour, equality ? 2.2 : 1.6, equality ? Qt::DashDotLine : Qt::SolidLine));
    painter.drawLine(from, to);
    if (equality) continue;
    // Short slanted strokes on the side that breaks the constraint.
    const QPointF along = unit(to - from);
    QPointF normal(-along.y(), along.x());
    const QPointF outward = mapDirection(line.infeasible_side);
    if (normal.x() * outward.x() + normal.y() * outward.y() < 0) normal = -normal;
    painter.setPen(QPen(colour, 1));
    const QPointF stroke = unit(normal * 6 + along * 4) * 7;
    const double length = std::hypot(to.x() - from.x(), to.y() - from.y());
    for (double s = kHatchSpacing / 2; s < length; s += kHatchSpacing) {
      const QPointF at = from + along * s;
      painter.drawLine(at, at + stroke);
    }
  }
}

void GraphPicture::paintObjective(QPainter& painter) const {
  const lp::GraphGeometry& g = geometry_;
  if (!g.has_level_line) return;
  painter.setPen(QPen(QColor::fromRgba(kLevelColour), 1.5, Qt::DashLine));
  painter.drawLine(map(g.level_from), map(g.level_to));
  const QLineF arrow = improvingArrow();
  painter.setPen(QPen(QColor::fromRgba(kLevelColour), 1.8));
  painter.setBrush(QColor::fromRgba(kLevelColour));
  painter.drawLine(arrow);
  drawArrowHead(painter, arrow.p2(), arrow.p2() - arrow.p1(), 9);
}

QLineF GraphPicture::improvingArrow() const {
  const lp::GraphGeometry& g = geometry_;
  const QPointF gradient = unit(QPointF(lp::SenseSign(g.sense) * g.c1 * span1() / plot_.width(),
                                        -lp::SenseSign(g.sense) * g.c2 * span2() / plot_.height()));
  const QPointF start = map(g.level_point);
  return {start, start + gradient * 42};
}

void GraphPicture::paintOptimalSet(QPainter& painter) const {
  // An optimum that is not unique: its edges and rays, thick.
  const lp::GraphGeometry& g = geometry_;
  if (g.outcome != lp::GraphOutcome::Optimal || g.optimum.unique()) return;
  painter.setPen(QPen(QColor::fromRgba(kGraphOptimumColour), 4, Qt::SolidLine, Qt::RoundCap));
  const std::size_t count = g.corners.size();
  const bool closed = g.region == lp::GraphRegion::Bounded && count > 2;
  for (std::size_t i = 0; i + 1 < count || (closed && i < count); ++i) {
    const std::size_t j = (i + 1) % count;
    if (optimal(i) && optimal(j))
      painter.drawLine(map(g.corners[i].point), map(g.corners[j].point));
  }
  auto ray = [&](int corner, const GraphPoint& d) {
    // To where it leaves the box (open directions point into the quadrant).
    const GraphPoint from = g.corners[static_cast<std::size_t>(corner)].point;
    double t = std::numeric_limits<double>::infinity();
    if (d.x1 > 0) t = std::min(t, (g.box.x1_max - from.x1) / d.x1);
    if (d.x2 > 0) t = std::min(t, (g.box.x2_max - from.x2) / d.x2);
    if (std::isfinite(t))
      painter.drawLine(map(from), map({from.x1 + t * d.x1, from.x2 + t * d.x2}));
  };
  if (g.optimum.along_first_ray) ray(g.optimum.corners.front(), g.open_first);
  if (g.optimum.along_last_ray) ray(g.optimum.corners.back(), g.open_last);
}

void GraphPicture::paintCorners(QPainter& painter) const {
  for (std::size_t i = 0; i < geometry_.corners.size(); ++i) {
    const bool is_optimum = optimal(i);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.setBrush(QColor::fromRgba(is_optimum ? kGraphOptimumColour : kCornerColour));
    const double radius = is_optimum ? 5.5 : 3.5;
    painter.drawEllipse(map(geometry_.corners[i].point), radius, radius);
  }
}

GraphMarks GraphPicture::marks() const {
  const lp::GraphGeometry& g = geometry_;
  const QFontMetricsF metrics(font_, device_);
  GraphMarks m;
  // The axes (pen 1.2) with the ticks beside them.
  m.axes.emplace_back(plot_.left() - 1, plot_.bottom() - 1, plot_.width() + kArrowRoom + 1,
                      kTickLength + 2);
  m.axes.emplace_back(plot_.left() - kTickLength - 1, plot_.top() - kArrowRoom, kTickLength + 2,
                      plot_.height() + kArrowRoom + 1);
  // Arrow heads of size 8, 3.6 to either side.
  const QPointF x_end(plot_.right() + kArrowRoom, plot_.bottom());
  const QPointF y_end(plot_.left(), plot_.top() - kArrowRoom);
  m.arrowHeads.emplace_back(x_end.x() - 9, x_end.y() - 4.5, 10, 9);
  m.arrowHeads.emplace_back(y_end.x() - 4.5, y_end.y() - 1, 9, 10);
  const double name_width = metrics.horizontalAdvance(QStringLiteral("χ1"));
  m.axisNames.emplace_back(x_end.x() + 4, x_end.y() - metrics.height() / 2, name_width,
                           metrics.height());
  m.axisNames.emplace_back(y_end.x() + 6, y_end.y() - metrics.height() / 2, name_width,
                           metrics.height());
  for (const TickLabel& tick : tickLabels()) m.tickLabels.push_back(tick.rect);
  for (std::size_t i = 0; i < g.corners.size(); ++i) {
    const double r = cornerRadius(optimal(i));
    m.cornerMarks.emplace_back(map(g.corners[i].point) - QPointF(r, r), QSizeF(2 * r, 2 * r));
  }
  if (g.lattice && g.lattice->optimum) {
    // The ring around the integer optimum, pen included.
    constexpr double kRing = 9.5;
    m.cornerMarks.emplace_back(map(*g.lattice->optimum) - QPointF(kRing, kRing),
                               QSizeF(2 * kRing, 2 * kRing));
  }
  // The caption and the message over the picture, and the improving arrow.
  m.others.emplace_back(plot_.left(), 4, size_.width() - plot_.left(), 2 * metrics.height() + 6);
  if (g.has_level_line) {
    const QLineF arrow = improvingArrow();
    m.others.push_back(QRectF(arrow.p1(), arrow.p2()).normalized().adjusted(-5, -5, 5, 5));
  }
  return m;
}

std::vector<QLineF> GraphPicture::strokes() const {
  const lp::GraphGeometry& g = geometry_;
  std::vector<QLineF> lines;
  for (const lp::GraphConstraintLine& line : g.lines) {
    if (line.visible) lines.emplace_back(map(line.from), map(line.to));
  }
  if (g.has_level_line) lines.emplace_back(map(g.level_from), map(g.level_to));
  return lines;
}

GraphPicture::LabelPlacement GraphPicture::startPlacement() const {
  const lp::GraphGeometry& g = geometry_;
  const GraphMarks m = marks();
  LabelPlacement placement;
  for (const auto* part :
       {&m.axes, &m.arrowHeads, &m.axisNames, &m.tickLabels, &m.cornerMarks, &m.others}) {
    placement.taken.insert(placement.taken.end(), part->begin(), part->end());
  }
  placement.lines = strokes();
  // Labels leave the region uncovered where they can, and corner labels go
  // away from its centre.
  placement.centre = QPointF(0, 0);
  if (!g.shaded.empty()) {
    QPolygonF polygon;
    for (const GraphPoint& p : g.shaded) polygon << map(p);
    placement.region.addPolygon(polygon);
    placement.region.closeSubpath();
    for (const QPointF& p : polygon) placement.centre += p;
    placement.centre /= static_cast<double>(polygon.size());
  }
  // A corner's label goes anywhere with a line to it for the first few
  // only: a search of the whole picture takes a while, and a crowd of
  // corners has no room for all of them anyway.
  placement.searches_left = kWholePictureSearches;
  return placement;
}

void GraphPicture::placeAtCorner(LabelPlacement& placement, GraphLabel label, QPointF at) const {
  QFont used = font_;
  used.setBold(label.bold);
  QPointF away = unit(at - placement.centre);
  if (away.isNull()) away = QPointF(0.7071, -0.7071);
  label.hasAnchor = true;
  label.anchor = at;
  const std::vector<QRectF>& taken = placement.taken;
  const std::vector<QLineF>& lines = placement.lines;
  const QPainterPath& region = placement.region;
  if (firstFree(labelRectsAround(label.text, used, at, away), taken, lines, region, label.rect) ||
      (placement.searches_left-- > 0 &&
       firstFree(labelRectsAnywhere(label.text, used, at), taken, lines, region, label.rect))) {
    placement.taken.push_back(label.rect);
    placement.placed.push_back(std::move(label));
  }
}

void GraphPicture::placeLineLabels(LabelPlacement& placement) const {
  std::size_t turn = 0;
  for (const lp::GraphConstraintLine& line : geometry_.lines) {
    const QRgb colour = kLineColours[turn++ % std::size(kLineColours)];
    if (!line.visible) continue;
    GraphLabel label;
    label.text = text(lp::GraphLineName(line.index));
    label.colour = colour;
    if (firstFree(lineLabelRects(line, label.text), placement.taken, placement.lines,
                  placement.region, label.rect)) {
      placement.taken.push_back(label.rect);
      placement.placed.push_back(std::move(label));
    }
  }
}

std::vector<GraphLabel> GraphPicture::placeLabels() const {
  const lp::GraphGeometry& g = geometry_;
  LabelPlacement placement = startPlacement();
  if (g.outcome == lp::GraphOutcome::Optimal) {
    GraphLabel label;
    label.text = text(lp::GraphOptimumLabel(g, kPictureDigits));
    label.colour = kGraphOptimumColour;
    label.bold = true;
    placeAtCorner(placement, label,
                  map(g.corners[static_cast<std::size_t>(g.optimum.corners.front())].point));
  }
  if (g.lattice && g.lattice->optimum) {
    GraphLabel label;
    label.text = text(lp::GraphIntegerOptimumLabel(*g.lattice, kPictureDigits));
    label.colour = kGraphIntegerOptimumColour;
    label.bold = true;
    placeAtCorner(placement, label, map(*g.lattice->optimum));
  }
  for (std::size_t i = 0; i < g.corners.size(); ++i) {
    // The unique optimum's coordinates are in its own label.
    if (optimal(i) && g.optimum.unique()) continue;
    GraphLabel label;
    label.text = text(lp::GraphPointText(g.corners[i].point, kPictureDigits));
    label.colour = kCornerColour;
    placeAtCorner(placement, label, map(g.corners[i].point));
  }
  placeLineLabels(placement);
  return placement.placed;
}

void GraphPicture::paintLabels(QPainter& painter) const {
  for (const GraphLabel& label : placeLabels()) {
    QFont font = font_;
    font.setBold(label.bold);
    painter.setFont(font);
    drawLabel(painter, label);
  }
  painter.setFont(font_);
}

void GraphPicture::paintTexts(QPainter& painter) const {
  // The objective at the top left, and what went wrong, in red, below it.
  const QFontMetricsF metrics(font_, device_);
  painter.setPen(QColor::fromRgba(kAxisColour));
  painter.drawText(QPointF(plot_.left(), 6 + metrics.ascent()),
                   QStringLiteral("目标函数 ") + text(lp::GraphObjectiveCaption(geometry_)));
  const char* message = geometry_.outcome == lp::GraphOutcome::Empty ? lp::kGraphEmptyMessage
                        : geometry_.outcome == lp::GraphOutcome::Unbounded
                            ? lp::kGraphUnboundedMessage
                            : nullptr;
  if (!message) return;
  QFont bold = font_;
  bold.setBold(true);
  painter.setFont(bold);
  painter.setPen(QColor::fromRgba(kMessageColour));
  painter.drawText(QPointF(plot_.left(), 8 + metrics.height() + metrics.ascent()),
                   QString::fromUtf8(message));
  painter.setFont(font_);
}

}  // namespace orcalc::ui
