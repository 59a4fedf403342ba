// The labels of the graphical method's picture: over a table of problems
// (crowded corners, long coordinates, far lines, ties, regions away from the
// origin, open and empty regions) and many random ones, in a large and a
// small picture, no label overlaps another, an axis, an arrow head, an axis
// name, a tick's number or a corner's dot, and every label lies inside the
// picture; the optimum's label is always there.
#include <cmath>
#include <random>

#include "../lp/lp_rows.h"
#include "app/application.h"
#include "geometry/graph_text.h"
#include "graph/drawing/graph_export.h"
#include "graph/drawing/graph_picture.h"
#include "support/window_helpers.h"

using namespace orcalc;
using namespace orcalc::ui;
using namespace orcalc::lp;

namespace {

struct Problem {
  const char* what;
  Sense sense;
  double c1, c2;
  std::vector<std::vector<double>> rows;  // a1, a2, sign, b
};

GraphGeometry geometryOf(const Problem& p) {
  return ComputeGraph(Normalised(MakeProblem(p.sense, {p.c1, p.c2}, p.rows)));
}

// The tangents of a circle of radius 100 around (150, 150): a region with a
// corner between each two.
std::vector<std::vector<double>> circle(int lines) {
  std::vector<std::vector<double>> rows;
  for (int i = 0; i < lines; ++i) {
    const double angle = 2 * M_PI * i / lines;
    const double a1 = std::cos(angle), a2 = std::sin(angle);
    rows.push_back({a1, a2, LE, 100 + 150 * (a1 + a2)});
  }
  return rows;
}

const std::vector<Problem>& tableOfProblems() {
  // clang-format off
  static const std::vector<Problem> problems = {
      {"the worked example", kMax, 3, 2, {{1, 1, LE, 4}, {1, 3, LE, 6}}},
      {"a far redundant line", kMax, 3, 2, {{1, 0, LE, 6}, {0, 1, LE, 2}, {1, 1, LE, 1e6}}},
      {"long coordinates", kMax, 1, 1, {{1, 3, LE, 6000}, {2, 3, LE, 6500}, {1, 0, LE, 500}}},
      {"an edge of optima", kMax, 1, 1, {{1, 1, LE, 4}, {1, 3, LE, 6}}},
      {"optima along the χ1 axis", kMin, 0, 1, {{1, 0, LE, 5}, {1, 1, LE, 6}}},
      {"a line ending at the χ1 arrow", kMax, 1, 1, {{1, 20, GE, 10}, {1, 0, LE, 10}, {0, 1, LE, 3}}},
      {"a line along the χ2 axis", kMax, 1, 2, {{1, 0, LE, 0.001}, {0, 1, LE, 4}, {1, 1, LE, 3}}},
      {"away from the origin", kMin, 1, 2, {{1, 0, GE, 1000}, {1, 0, LE, 1006}, {0, 1, GE, 1000}, {1, 1, LE, 2005}}},
      {"many corners close together", kMax, 2, 3, {{1, 0, LE, 3}, {0, 1, LE, 3}, {1, 1, LE, 5.9},
          {1, 2, LE, 8.8}, {2, 1, LE, 8.8}, {3, 1, LE, 11.5}, {1, 3, LE, 11.5}}},
      {"an open region", kMin, 1, 1, {{1, 1, GE, 2}, {1, -1, LE, 1}}},
      {"the objective unbounded", kMax, 1, 1, {{1, -1, LE, 1}}},
      {"an empty region", kMax, 1, 1, {{1, 1, LE, 1}, {1, 1, GE, 3}}},
      {"a single point", kMax, 1, 1, {{1, 1, LE, 0}}},
      {"a segment", kMax, 1, 0, {{1, 1, EQ, 2}}},
      {"a region of 120 corners", kMax, 1, 1, circle(120)},
  };
  // clang-format on
  return problems;
}

// Integer coefficients from -5 to 5, right-hand sides from -5 to 30, now and
// then in large or small units, a far line or a shift away from the origin.
Problem randomProblem(std::mt19937_64& random) {
  auto uniform = [&](int lo, int hi) {
    return static_cast<double>(std::uniform_int_distribution<int>(lo, hi)(random));
  };
  Problem p{"random", uniform(0, 1) ? kMax : kMin, uniform(-4, 4), uniform(-4, 4), {}};
  const double unit = std::pow(10.0, uniform(-3, 5));
  const int count = static_cast<int>(uniform(1, 6));
  for (int i = 0; i < count; ++i) {
    const double sign = uniform(0, 5) == 0 ? EQ : (uniform(0, 2) == 0 ? GE : LE);
    p.rows.push_back({uniform(-5, 5), uniform(-5, 5), sign, uniform(-5, 30) * unit});
  }
  if (uniform(0, 3) == 0) p.rows.push_back({1, uniform(0, 2), LE, 1e6 * unit});
  if (uniform(0, 3) == 0) p.rows.push_back({1, 0, GE, uniform(50, 200) * unit});
  return p;
}

// What went wrong with the labels of one picture, or an empty text.
QString labelFaults(const GraphGeometry& g, QSize size) {
  const QImage device(1, 1, QImage::Format_ARGB32);
  const GraphPicture picture(g, QSizeF(size), graphFont(), &device);
  const std::vector<GraphLabel> labels = picture.placeLabels();
  const GraphMarks marks = picture.marks();
  const QRectF whole(QPointF(0, 0), QSizeF(size));
  const struct {
    const char* name;
    const std::vector<QRectF>& rects;
  } kinds[] = {{"an axis", marks.axes},
               {"an arrow head", marks.arrowHeads},
               {"an axis name", marks.axisNames},
               {"a tick's number", marks.tickLabels},
               {"a corner's dot", marks.cornerMarks}};
  QString faults;
  for (std::size_t i = 0; i < labels.size(); ++i) {
    const GraphLabel& label = labels[i];
    if (!whole.contains(label.rect)) faults += label.text + " leaves the picture; ";
    for (std::size_t j = i + 1; j < labels.size(); ++j) {
      if (label.rect.intersects(labels[j].rect))
        faults += label.text + " overlaps " + labels[j].text + "; ";
    }
    for (const auto& kind : kinds) {
      for (const QRectF& rect : kind.rects) {
        if (label.rect.intersects(rect)) faults += label.text + " overlaps " + kind.name + "; ";
      }
    }
  }
  const QString optimum = QString::fromStdString(GraphOptimumLabel(g, 6));
  const bool has_optimum = std::any_of(labels.begin(), labels.end(),
                                       [&](const GraphLabel& l) { return l.text == optimum; });
  if (!optimum.isEmpty() && size.width() >= 800 && !has_optimum) faults += "no optimum label; ";
  return faults;
}

}  // namespace

class GraphLabelsTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { setUpApplication(*qApp); }

  void noLabelOverlapsAnotherOrTheMarks_data() {
    QTest::addColumn<int>("index");
    for (int i = 0; i < int(tableOfProblems().size()); ++i)
      QTest::newRow(tableOfProblems()[std::size_t(i)].what) << i;
  }
  void noLabelOverlapsAnotherOrTheMarks() {
    QFETCH(int, index);
    const GraphGeometry g = geometryOf(tableOfProblems()[std::size_t(index)]);
    for (QSize size : {QSize(800, 600), QSize(740, 560), QSize(400, 300)}) {
      const QString faults = labelFaults(g, size);
      QVERIFY2(faults.isEmpty(), qPrintable(faults));
    }
  }

  void noLabelOverlapsInRandomProblems() {
    std::mt19937_64 random(2626);
    int labelled = 0, expected = 0;
    for (int trial = 0; trial < 400; ++trial) {
      const GraphGeometry g = geometryOf(randomProblem(random));
      const QString faults = labelFaults(g, QSize(800, 600));
      QVERIFY2(faults.isEmpty(), qPrintable(QString::number(trial) + ": " + faults + "\n" +
                                            QString::fromStdString(GraphListing(g))));
      const QImage device(1, 1, QImage::Format_ARGB32);
      labelled += int(GraphPicture(g, QSizeF(800, 600), graphFont(), &device).placeLabels().size());
      const bool optimal = g.outcome == GraphOutcome::Optimal;
      expected += int(g.corners.size()) + int(optimal) - int(optimal && g.optimum.unique());
    }
    // Room is found for nearly every label.
    QVERIFY2(labelled >= expected * 9 / 10,
             qPrintable(QString("%1 of %2").arg(labelled).arg(expected)));
  }

  // Coordinates in the picture have 6 significant digits.
  void coordinatesAreShortened() {
    const GraphGeometry g = geometryOf(tableOfProblems()[2]);
    const QImage device(1, 1, QImage::Format_ARGB32);
    QStringList texts;
    for (const GraphLabel& label :
         GraphPicture(g, QSizeF(800, 600), graphFont(), &device).placeLabels())
      texts << label.text;
    QVERIFY2(texts.contains("最优解 (500, 1833.33)，S = 2333.33"), qPrintable(texts.join(" | ")));
    QCOMPARE(GraphOptimumLabel(g), "最优解 (500, 1833.33333333333)，S = 2333.33333333333");
  }
};

QTEST_MAIN(GraphLabelsTest)
#include "graph_labels_test.moc"
