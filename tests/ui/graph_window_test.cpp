// The graphical method's picture and window: pixels of the drawn example,
// the window opened modally over its owner and following its size, saving
// PNG and well-formed SVG, and what keeps the window from opening.
#include "graph/graph_window.h"

#include <QSvgRenderer>
#include <QXmlStreamReader>
#include <cstdlib>

#include "app/application.h"
#include "geometry/graph_command.h"
#include "graph/drawing/graph_export.h"
#include "graph/drawing/graph_picture.h"
#include "support/window_helpers.h"

using namespace orcalc;
using namespace orcalc::ui;
using namespace orcalc::ui::testing;

namespace {

// The example sheet: maximise 3χ1 + 2χ2 under χ1 + χ2 ≤ 4 and χ1 + 3χ2 ≤ 6.
Sheet exampleSheet() {
  LpWindow form;
  fillExample(form);
  return form.grid()->sheet();
}

lp::GraphGeometry geometryOf(const Sheet& sheet, lp::Sense sense = lp::Sense::Maximise) {
  return *lp::CalculateGraph({2, sheet.rows() - 2, sense}, sheet).geometry;
}

QRgb pixel(const QImage& image, QPointF at) { return image.pixel(at.toPoint()) | 0xff000000; }

// The text of an SVG document's <text> elements, run together (a line of
// Chinese and Latin letters comes in several), once the document has been
// read to the end without an error.
QString svgText(const QByteArray& svg) {
  QXmlStreamReader xml(svg);
  QString text;
  bool root_is_svg = false;
  while (!xml.atEnd()) {
    xml.readNext();
    if (xml.isStartElement() && xml.name() == QStringLiteral("svg") && text.isEmpty())
      root_is_svg = true;
    if (xml.isStartElement() && xml.name() == QStringLiteral("text"))
      text += xml.readElementText(QXmlStreamReader::IncludeChildElements);
  }
  if (xml.hasError() || !root_is_svg) return QStringLiteral("malformed: ") + xml.errorString();
  return text;
}

}  // namespace

class GraphWindowTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { setUpApplication(*qApp); }

  void drawsTheExample() {
    const lp::GraphGeometry g = geometryOf(exampleSheet());
    const QImage image = renderGraphImage(g, QSize(800, 600), graphFont());
    const GraphPicture picture(g, QSizeF(800, 600), graphFont(), &image);
    // Inside the region (off the grid), on the optimum's mark, and outside.
    QCOMPARE(pixel(image, picture.map({1.5, 0.5})), kGraphRegionColour);
    QCOMPARE(pixel(image, picture.map({4, 0})), kGraphOptimumColour);
    QCOMPARE(pixel(image, picture.map({5.5, 4.5})), kGraphBackgroundColour);
    // The box [0, 7] × [0, 5] fills the picture but for the margins.
    QVERIFY(picture.plotArea().width() > 650 && picture.plotArea().height() > 450);
  }

  void marksTheWholeNumberPoints() {
    const Sheet sheet = exampleSheet();
    constexpr integer::VariableType kWhole = integer::VariableType::Integer;
    const lp::GraphGeometry g =
        *lp::CalculateGraph({2, sheet.rows() - 2, lp::Sense::Maximise}, sheet, {kWhole, kWhole})
             .geometry;
    QVERIFY(g.lattice && g.lattice->optimum);
    const QImage image = renderGraphImage(g, QSize(800, 600), graphFont());
    const GraphPicture picture(g, QSizeF(800, 600), graphFont(), &image);
    // Whole-number points inside the region, and the ring around the
    // integer optimum (4, 0), here the linear program's too.
    QCOMPARE(pixel(image, picture.map({1, 1})), kGraphLatticeColour);
    QCOMPARE(pixel(image, picture.map({2, 1})), kGraphLatticeColour);
    // (antialiased: within a few levels of its colour)
    const QRgb ring = pixel(image, picture.map({4, 0}) + QPointF(-8, 0));
    const QRgb wanted = kGraphIntegerOptimumColour;
    QVERIFY(std::abs(qRed(ring) - qRed(wanted)) <= 8 &&
            std::abs(qGreen(ring) - qGreen(wanted)) <= 8 &&
            std::abs(qBlue(ring) - qBlue(wanted)) <= 8);
    const QByteArray svg = renderGraphFile(g, QSize(800, 600), graphFont(), GraphFileFormat::Svg);
    QVERIFY2(svgText(svg).contains(QStringLiteral("整数最优解 (4, 0)，S = 12")),
             qPrintable(svgText(svg)));
  }

  void opensModallyOverItsOwnerAndFollowsItsSize() {
    RecordingPlatform platform;
    QDialog owner;
    showActive(&owner);
    QPointer<GraphWindow> seen;
    platform.onModal = [&](QDialog* dialog) {
      auto* window = qobject_cast<GraphWindow*>(dialog);
      QVERIFY(window && window->isModal() && window->parentWidget() == &owner);
      QCOMPARE(window->windowTitle(), QStringLiteral("图解法"));
      QVERIFY(QTest::qWaitForWindowExposed(window));
      QCOMPARE(window->windowHandle()->transientParent(), owner.windowHandle());
      seen = window;
      // The picture follows the window's size.
      const QSize before = window->view->size();
      window->resize(window->size() + QSize(120, 80));
      QTRY_COMPARE(window->view->size(), before + QSize(120, 80));
      QTest::mouseClick(window->closeButton, Qt::LeftButton);
    };
    showGraphWindow(&owner, exampleSheet(), 2, 2, lp::Sense::Maximise);
    QCOMPARE(platform.modalCount, 1);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(seen.isNull());  // destroyed once closed
    QVERIFY(platform.messages.isEmpty());
  }

  void overflowOrAWrongCountOpensNoWindow() {
    RecordingPlatform platform;
    Sheet sheet = exampleSheet();
    sheet.SetCell(3, 2, "1e999");
    showGraphWindow(nullptr, sheet, 2, 2, lp::Sense::Maximise);
    showGraphWindow(nullptr, exampleSheet(), 3, 2, lp::Sense::Maximise);
    QCOMPARE(platform.modalCount, 0);
    QCOMPARE(platform.messages.size(), 2);
  }

  // The type follows the name when it says one, the chosen filter when it
  // does not; a name completed so replaces no file without a question.
  void pictureTypeFollowsTheChosenFilter_data() {
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("written");
    QTest::addColumn<bool>("svg");
    const QString png = "PNG 图片 (*.png)", svg = "SVG 图片 (*.svg)";
    QTest::newRow("no ending, SVG chosen") << "g" << svg << "g.svg" << true;
    QTest::newRow("no ending, PNG chosen") << "g" << png << "g.png" << false;
    QTest::newRow("another ending, PNG chosen") << "pic.jpg" << png << "pic.jpg.png" << false;
    QTest::newRow("another ending, SVG chosen") << "pic.jpg" << svg << "pic.jpg.svg" << true;
    QTest::newRow("the name says SVG, PNG chosen") << "x.SVG" << png << "x.SVG" << true;
    QTest::newRow("the name says PNG, SVG chosen") << "x.png" << svg << "x.png" << false;
  }

  void pictureTypeFollowsTheChosenFilter() {
    QFETCH(QString, typed);
    QFETCH(QString, filter);
    QFETCH(QString, written);
    QFETCH(bool, svg);
    RecordingPlatform platform;
    QTemporaryDir dir;
    GraphWindow window(geometryOf(exampleSheet()));
    platform.nextSavePath = dir.filePath(typed);
    platform.nextSaveFilter = filter;
    window.saveImage();
    QCOMPARE(platform.messages, QStringList());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files), QStringList{written});
    const QByteArray bytes = readFile(dir.filePath(written));
    QCOMPARE(bytes.startsWith("\x89PNG"), !svg);
    if (svg) QVERIFY(QSvgRenderer(bytes).isValid());
    QVERIFY(!platform.saveRequests[0].hideFilterPatterns);
    // Saved again: where the name was completed, the existing file is asked
    // about (取消 keeps it); where the dialog returned it, the dialog asked.
    QVERIFY(writeFile(dir.filePath(written), "old"));
    window.saveImage();
    QCOMPARE(platform.replaceQuestions.size(), written == typed ? 0 : 1);
    QCOMPARE(readFile(dir.filePath(written)), written == typed ? bytes : QByteArray("old"));
  }

  void savesPngOrSvgByTheNameAndReportsFailures() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    GraphWindow window(geometryOf(exampleSheet()));
    showActive(&window);
    platform.nextSavePath = dir.filePath("picture.png");
    QTest::mouseClick(window.saveImageButton, Qt::LeftButton);
    QCOMPARE(QImage(platform.nextSavePath).size(), window.view->size());
    QCOMPARE(platform.saveRequests[0].filter, QStringLiteral("PNG 图片 (*.png);;SVG 图片 (*.svg)"));
    QCOMPARE(platform.saveRequests[0].initialPath, QStringLiteral("图解法.png"));
    platform.nextSavePath = dir.filePath("picture.SVG");
    window.saveImage();
    QCOMPARE(platform.saveRequests[1].initialPath, dir.filePath("picture.png"));
    const QByteArray svg = readFile(platform.nextSavePath);
    for (const char* expected : {"最优解 (4, 0)，S = 12", "约束方程2", "(3, 1)", "χ1"})
      QVERIFY2(svgText(svg).contains(QString::fromUtf8(expected)), qPrintable(svgText(svg)));
    QVERIFY(QSvgRenderer(svg).isValid());
    // Cancelled: nothing written. A missing folder: one message naming the
    // file (the other failures are save_failures_test's).
    platform.nextSavePath.clear();
    window.saveImage();
    platform.nextSavePath = dir.filePath("no/such/picture.png");
    window.saveImage();
    QCOMPARE(platform.messages.size(), 1);
    QVERIFY(platform.messages[0].startsWith(
        "无法保存文件“" + QDir::toNativeSeparators(dir.filePath("no/such/picture.png"))));
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
             QStringList({"picture.png", "picture.SVG"}));
  }
};

QTEST_MAIN(GraphWindowTest)
#include "graph_window_test.moc"
