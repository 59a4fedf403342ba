#include "geometry/graph_text.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <initializer_list>

#include "common/number_text.h"

namespace orcalc::lp {
namespace {

// `word` and the numbers, each after a blank, and a line end.
std::string Fact(const char* word, std::initializer_list<double> values) {
  std::string text = word;
  for (double value : values) text.append(" ").append(PlainNumber(value));
  return text;
}

}  // namespace

std::string GraphLineName(int id) {
  if (id == kLineChi1Zero) return "χ1=0";
  if (id == kLineChi2Zero) return "χ2=0";
  std::string name = "约束方程";
  return name.append(PlainNumber(id));
}

std::string GraphNumber(double value, int digits) {
  if (digits < 15 && std::isfinite(value)) {
    // Rounded in decimal, then written as any other number.
    char buffer[kNumberTextCapacity];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value,
                                       std::chars_format::scientific, std::max(digits, 1) - 1);
    if (written.ec == std::errc()) std::from_chars(buffer, written.ptr, value);
  }
  return PlainNumber(value);
}

std::string GraphPointText(GraphPoint point, int digits) {
  std::string text = "(";
  return text.append(GraphNumber(point.x1, digits))
      .append(", ")
      .append(GraphNumber(point.x2, digits))
      .append(")");
}

std::string GraphOptimumLabel(const GraphGeometry& geometry, int digits) {
  if (geometry.outcome != GraphOutcome::Optimal) return {};
  const GraphOptimum& optimum = geometry.optimum;
  std::string label = "最优解";
  if (optimum.unique()) {
    const GraphPoint at = geometry.corners[static_cast<std::size_t>(optimum.corners.front())].point;
    label.append(" ").append(GraphPointText(at, digits));
  } else {
    label.append("不唯一");
  }
  return label.append("，S = ").append(GraphNumber(optimum.value, digits));
}

std::string GraphObjectiveCaption(const GraphGeometry& geometry) {
  std::string caption = geometry.sense == Sense::Maximise ? "Max z = " : "Min z = ";
  const double c[2] = {geometry.c1, geometry.c2};
  bool first = true;
  for (int j = 0; j < 2; ++j) {
    if (c[j] == 0) continue;
    if (first) {
      if (c[j] < 0) caption.append("-");
    } else {
      caption.append(c[j] < 0 ? " - " : " + ");
    }
    first = false;
    if (std::abs(c[j]) != 1) caption.append(PlainNumber(std::abs(c[j])));
    caption.append("χ").append(PlainNumber(j + 1));
  }
  if (first) caption.append("0");
  return caption;
}

std::string GraphListing(const GraphGeometry& geometry) {
  std::string text;
  for (const GraphCorner& corner : geometry.corners) {
    text.append(Fact("corner", {corner.point.x1, corner.point.x2, corner.value}));
    for (int line : corner.lines) text.append(" ").append(GraphLineName(line));
    text.append("\n");
  }
  if (geometry.region == GraphRegion::Unbounded) {
    for (const GraphPoint& open : {geometry.open_first, geometry.open_last}) {
      text.append(Fact("open", {open.x1, open.x2})).append("\n");
    }
  }
  switch (geometry.outcome) {
    case GraphOutcome::Empty:
      text.append("empty\n");
      break;
    case GraphOutcome::Unbounded:
      text.append("unbounded\n");
      break;
    case GraphOutcome::Optimal: {
      const GraphOptimum& optimum = geometry.optimum;
      for (int index : optimum.corners) {
        const GraphPoint at = geometry.corners[static_cast<std::size_t>(index)].point;
        text.append(Fact("optimum", {at.x1, at.x2, optimum.value})).append("\n");
      }
      auto ray = [&](int index, GraphPoint direction) {
        const GraphPoint at = geometry.corners[static_cast<std::size_t>(index)].point;
        text.append(Fact("optimum-ray", {at.x1, at.x2, direction.x1, direction.x2, optimum.value}))
            .append("\n");
      };
      if (optimum.along_first_ray) ray(optimum.corners.front(), geometry.open_first);
      // A region that is a single ray has it twice.
      if (optimum.along_last_ray &&
          !(optimum.along_first_ray && optimum.corners.front() == optimum.corners.back() &&
            geometry.open_first == geometry.open_last)) {
        ray(optimum.corners.back(), geometry.open_last);
      }
      break;
    }
  }
  return text;
}

std::string GraphLatticeListing(const GraphLattice& lattice) {
  std::string text;
  if (lattice.optimum) {
    text.append(Fact("integer-optimum", {lattice.optimum->x1, lattice.optimum->x2, lattice.value}))
        .append("\n");
  }
  switch (lattice.outcome) {
    case integer::IntegerOutcome::NoWholeSolution:
      text.append("integer-empty\n");
      break;
    case integer::IntegerOutcome::RelaxationUnbounded:
      text.append("integer-unbounded\n");
      break;
    case integer::IntegerOutcome::Optimal:
      break;
    default:
      text.append("integer-limit\n");
      break;
  }
  if (lattice.too_many) {
    text.append("lattice too-many\n");
  } else {
    text.append("lattice ").append(std::to_string(lattice.points.size())).append("\n");
  }
  return text;
}

std::string GraphIntegerOptimumLabel(const GraphLattice& lattice, int digits) {
  if (!lattice.optimum) return {};
  return "整数最优解 " + GraphPointText(*lattice.optimum, digits) +
         "，S = " + GraphNumber(lattice.value, digits);
}

}  // namespace orcalc::lp
