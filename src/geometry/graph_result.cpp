#include "geometry/graph_result.h"

#include "common/result_status.h"

namespace orcalc::lp {
namespace {

void WritePoint(ResultWriter& out, std::string_view key, GraphPoint point) {
  WriteNumbers(out, key, {point.x1, point.x2});
}

ResultStatus GraphStatus(const GraphGeometry& geometry) {
  switch (geometry.outcome) {
    case GraphOutcome::Optimal:
      return ResultStatus::Optimal;
    case GraphOutcome::Unbounded:
      return ResultStatus::Unbounded;
    case GraphOutcome::Empty:
      return ResultStatus::Infeasible;
  }
  return ResultStatus::Infeasible;
}

void WriteVertices(ResultWriter& out, const GraphGeometry& geometry) {
  out.BeginArray("vertices");
  for (const GraphCorner& corner : geometry.corners) {
    out.BeginObject();
    WritePoint(out, "x", corner.point);
    out.Number("S", corner.value);
    out.BeginArray("lines");
    for (int line : corner.lines) out.Number({}, line);
    out.EndArray();
    out.EndObject();
  }
  out.EndArray();
  out.BeginArray("open_directions");
  if (geometry.region == GraphRegion::Unbounded) {
    WritePoint(out, {}, geometry.open_first);
    WritePoint(out, {}, geometry.open_last);
  }
  out.EndArray();
}

void WriteOptimum(ResultWriter& out, const GraphGeometry& geometry) {
  if (geometry.outcome != GraphOutcome::Optimal) {
    out.Null("optimum");
    return;
  }
  const GraphOptimum& optimum = geometry.optimum;
  out.BeginObject("optimum");
  out.BeginArray("vertices");
  for (int index : optimum.corners) out.Number({}, index + 1);
  out.EndArray();
  out.BeginArray("rays");
  auto ray = [&](int index, GraphPoint direction) {
    out.BeginObject();
    WritePoint(out, "from", geometry.corners[static_cast<std::size_t>(index)].point);
    WritePoint(out, "direction", direction);
    out.EndObject();
  };
  if (optimum.along_first_ray) ray(optimum.corners.front(), geometry.open_first);
  // A region that is a single ray has it twice.
  if (optimum.along_last_ray &&
      !(optimum.along_first_ray && optimum.corners.front() == optimum.corners.back() &&
        geometry.open_first == geometry.open_last)) {
    ray(optimum.corners.back(), geometry.open_last);
  }
  out.EndArray();
  out.EndObject();
}

// "integer": the best whole-number point and its S (null without one),
// how many whole-number points the picture marks, and whether it left them
// out for being too many.
void WriteLattice(ResultWriter& out, const GraphLattice& lattice) {
  out.BeginObject("integer");
  if (lattice.optimum) {
    WriteNumbers(out, "optimum", {lattice.optimum->x1, lattice.optimum->x2});
    out.Number("S", lattice.value);
  } else {
    out.Null("optimum");
    out.Null("S");
  }
  out.Number("points", static_cast<double>(lattice.points.size()));
  out.Flag("too_many", lattice.too_many);
  out.EndObject();
}

}  // namespace

void WriteGraphResult(ResultWriter& out, const GraphCalculation& calculation) {
  out.BeginObject();
  std::vector<KeyedMessage> notices;
  for (const std::string& text : calculation.messages) {
    notices.push_back(
        {calculation.overflow ? kCellOverflowKeyword : std::string_view("needs_two_variables"),
         text});
  }
  if (const auto& geometry = calculation.geometry) {
    out.Text("status", StatusKeyword(GraphStatus(*geometry)));
    out.Text("sense", geometry->sense == Sense::Maximise ? "max" : "min");
    if (geometry->outcome == GraphOutcome::Optimal) {
      out.Number("S", geometry->optimum.value);
    } else {
      out.Null("S");
    }
    WriteVertices(out, *geometry);
    WriteOptimum(out, *geometry);
    if (geometry->lattice) WriteLattice(out, *geometry->lattice);
  } else {
    out.Text("status", StatusKeyword(calculation.overflow ? ResultStatus::Overflow
                                                          : ResultStatus::NotApplicable));
    out.Null("sense");
    out.Null("S");
    out.BeginArray("vertices");
    out.EndArray();
    out.BeginArray("open_directions");
    out.EndArray();
    out.Null("optimum");
  }
  WriteMessages(out, notices);
  out.EndObject();
}

}  // namespace orcalc::lp
