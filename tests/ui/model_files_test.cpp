// 文件 → 导入模型… and 导出模型… on the linear-programming window: a model
// becomes the sheet a user would type, as one undo step; faults and relaxed
// integers are shown in Chinese; an exported sheet reads back as the same
// problem.
#include <QUndoStack>

#include "lp/lp_sheet.h"
#include "models/model_reading.h"
#include "models/model_sheet.h"
#include "support/window_helpers.h"

using namespace orcalc;
using namespace orcalc::ui;
using namespace orcalc::ui::testing;

class ModelFilesTest : public QObject {
  Q_OBJECT
  QTemporaryDir settings_;

 private slots:
  void initTestCase() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
  }

  void importLaysTheModelOutAsOneStep() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    const QString path = dir.filePath("plan.lp");
    const QByteArray model =
        "Maximize\n obj: 3 x + 2 y\nSubject To\n c1: x + y <= 4\n c2: x + 3 y <= 6\n"
        "Bounds\n 1 <= x <= 3\nGeneral\n y\nEnd\n";
    QVERIFY(writeFile(path, model));
    LpWindow form;
    fillExample(form);
    form.minimumOption()->setChecked(true);  // the model's sense is taken
    const Sheet before = form.grid()->sheet();
    const int steps = form.undoStack().count();
    platform.nextOpenPath = path;
    form.importModel();
    const models::ModelReadResult read =
        models::ReadModel(model.toStdString(), models::ModelFormat::CplexLp, "plan.lp");
    const models::ModelSheet expected = models::ConvertModelToSheet(read.model);
    QCOMPARE(form.grid()->sheet(), expected.sheet);
    QCOMPARE(form.variableCountBox()->text(), QStringLiteral("2"));
    QCOMPARE(form.constraintCountBox()->text(), QStringLiteral("3"));
    QVERIFY(form.maximumOption()->isChecked());
    // y keeps its type; nothing to tell.
    QVERIFY(platform.messages.isEmpty());
    QCOMPARE(form.variableTypes(), (std::vector<std::string>{"连续", "整数"}));
    QCOMPARE(form.undoStack().count(), steps + 1);
    form.undoStack().undo();
    QCOMPARE(form.grid()->sheet(), before);
    QVERIFY(form.variableTypes().empty());
  }

  void faultsAreShownAndChangeNothing() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    const QString path = dir.filePath("broken.mps");
    QVERIFY(writeFile(path, "ROWS\n N obj\nCOLUMNS\n x c2 1\nENDATA\n"));
    LpWindow form;
    fillExample(form);
    const Sheet before = form.grid()->sheet();
    platform.nextOpenPath = path;
    form.importModel();
    QCOMPARE(platform.messages,
             QStringList("模型文件“" + path + "”第 4 行：行“c2”没有在 ROWS 段中定义"));
    QCOMPARE(form.grid()->sheet(), before);
  }

  void exportReadsBackAsTheSameProblem_data() {
    QTest::addColumn<QString>("filter");
    QTest::addColumn<QString>("ending");
    QTest::newRow("CPLEX LP") << QStringLiteral("CPLEX LP 模型 (*.lp)") << QStringLiteral(".lp");
    QTest::newRow("MPS") << QStringLiteral("MPS 模型 (*.mps)") << QStringLiteral(".mps");
  }

  void exportReadsBackAsTheSameProblem() {
    QFETCH(QString, filter);
    QFETCH(QString, ending);
    RecordingPlatform platform;
    QTemporaryDir dir;
    LpWindow form;
    fillExample(form);
    platform.nextSavePath = dir.filePath("out");
    platform.nextSaveFilter = filter;
    form.exportModel();
    QCOMPARE(platform.messages, QStringList());
    const QByteArray written = readFile(dir.filePath("out" + ending));
    const auto format = ending == ".mps" ? models::ModelFormat::Mps : models::ModelFormat::CplexLp;
    const models::ModelReadResult read = models::ReadModel(written.toStdString(), format, "out");
    QVERIFY(read.ok);
    const models::ModelSheet back = models::ConvertModelToSheet(read.model);
    const lp::LpProblem problem =
        lp::ReadLpSheet(back.sheet, back.variables, back.constraints, back.sense).problem;
    const lp::LpProblem original =
        lp::ReadLpSheet(form.grid()->sheet(), 2, 2, lp::Sense::Maximise).problem;
    QCOMPARE(problem.coefficients, original.coefficients);
    QCOMPARE(problem.rhs, original.rhs);
    // MPS minimises: the maximum is written as the minimum of the negation.
    QCOMPARE(problem.objective[0], ending == ".mps" ? -3.0 : 3.0);
  }
};

QTEST_MAIN(ModelFilesTest)
#include "model_files_test.moc"
