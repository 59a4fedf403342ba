// 分析 → 变量类型…: the types chosen belong to the sheet (one undo step, the
// file's record, cleared by 确定 when the variable count changes) and make
// 计算 search for the best whole-number solution.
#include <QTemporaryDir>

#include "app/application.h"
#include "app/variable_types_dialog.h"
#include "integer/integer_texts.h"
#include "support/window_helpers.h"

using namespace orcalc::ui;
using namespace orcalc::ui::testing;

namespace {

using Fields = std::vector<std::string>;

// Runs 变量类型… with `choose` working the dialog, then 确定 (or 取消).
void chooseTypes(RecordingPlatform& platform, LpWindow& form,
                 const std::function<void(VariableTypesDialog&)>& choose, bool accept = true) {
  platform.onModal = [&](QDialog* dialog) {
    if (auto* types = qobject_cast<VariableTypesDialog*>(dialog)) {
      choose(*types);
      types->done(accept ? QDialog::Accepted : QDialog::Rejected);
    }
  };
  form.editVariableTypes();
  platform.onModal = nullptr;
}

}  // namespace

class VariableTypesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() { setUpApplication(*qApp); }

  void typesAreUndoableAndClearedByANewCount() {
    RecordingPlatform platform;
    LpWindow form;
    showActive(&form);
    fillExample(form);
    chooseTypes(platform, form, [](VariableTypesDialog& d) {
      QCOMPARE(d.dropDown(0)->currentText(), QStringLiteral("连续"));
      d.allIntegerButton()->click();
      d.dropDown(1)->setCurrentIndex(2);
    });
    QCOMPARE(form.variableTypes(), (Fields{"整数", "0-1"}));
    chooseTypes(
        platform, form, [](VariableTypesDialog& d) { d.allContinuousButton()->click(); },
        false);  // 取消 changes nothing
    QCOMPARE(form.variableTypes(), (Fields{"整数", "0-1"}));
    form.undo();
    QVERIFY(form.variableTypes().empty());
    form.redo();
    QCOMPARE(form.variableTypes(), (Fields{"整数", "0-1"}));
    // 确定 with the same count keeps them, with another clears them.
    layOut(form, 2, 3);
    QCOMPARE(form.variableTypes(), (Fields{"整数", "0-1"}));
    layOut(form, 3, 3);
    QVERIFY(form.variableTypes().empty());
    form.undo();
    QCOMPARE(form.variableTypes(), (Fields{"整数", "0-1"}));
  }

  void typesGoWithTheFile() {
    RecordingPlatform platform;
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("typed.csv"));
    {
      LpWindow form;
      showActive(&form);
      fillExample(form);
      platform.nextSavePath = path;
      QVERIFY(form.saveSheetAs());
      chooseTypes(platform, form, [](VariableTypesDialog& d) { d.allIntegerButton()->click(); });
      QVERIFY(form.hasUnsavedChanges());
      QVERIFY(form.saveSheet());
      QVERIFY(readFile(path).endsWith("变量类型,整数,整数\n"));
    }
    LpWindow opened;
    showActive(&opened);
    QVERIFY(opened.openSheetFile(path));
    QCOMPARE(opened.variableTypes(), (Fields{"整数", "整数"}));
    QVERIFY(!opened.hasUnsavedChanges());
    // A record naming no type: 计算 says which field, and computes nothing.
    QVERIFY(writeFile(path, readFile(path).replace("变量类型,整数,整数", "变量类型,整数,x")));
    QVERIFY(opened.openSheetFile(path));
    opened.calculate();
    QCOMPARE(platform.messages,
             QStringList{QStringLiteral("变量类型记录的第2项不是连续、整数或0-1：x")});
  }

  void calculateSearchesAndSensitivityRefuses() {
    RecordingPlatform platform;
    LpWindow form;
    showActive(&form);
    // Maximise 3χ1 + 2χ2 under χ1 + χ2 ≤ 4.5 and χ1 ≤ 2.5.
    form.maximumOption()->setChecked(true);
    layOut(form, 2, 2);
    setCells(form.grid(), {{"3", "2"}, {"1", "1", " ≤ ", "4.5"}, {"1", "0", " ≤ ", "2.5"}});
    chooseTypes(platform, form, [](VariableTypesDialog& d) { d.allIntegerButton()->click(); });
    QList<Shown> shown;
    recordResults(platform, shown);
    form.calculate();
    QCOMPARE(shown.size(), 1);
    QVERIFY(shown[0].text.find("目标函数值 S = 10\r\n") != std::string::npos);
    QVERIFY(shown[0].text.find("-------------整数规划-------------") != std::string::npos);
    form.sensitivityAnalysis();
    QCOMPARE(shown.size(), 1);
    QCOMPARE(platform.messages,
             QStringList{QString::fromUtf8(orcalc::integer::kSensitivityNotForIntegerMessage)});
  }
};

QTEST_MAIN(VariableTypesTest)
#include "variable_types_test.moc"
