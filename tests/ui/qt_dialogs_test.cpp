// Qt's own dialogs and menus as the user meets them: the start-up loads Qt's
// Simplified Chinese translations whatever the locale, so message boxes, the
// save dialog and the text boxes' menus read Chinese (English, quietly, when
// the translation file is missing), and the save dialog shows each filter
// once.
#include <Qsci/qsciscintilla.h>

#include "app/application.h"
#include "app/qt_translations.h"
#include "support/window_helpers.h"

using namespace orcalc::ui;
using namespace orcalc::ui::testing;

namespace {

// No Latin letter outside an access key "(&X)" and a shortcut after a tab.
bool chineseOnly(QString text) {
  text = text.section('\t', 0, 0);
  text.remove(QRegularExpression("\\(&[A-Za-z]\\)"));
  text.remove(QStringLiteral("PDF"));  // a file type's own name, as in 导出PDF…
  return !text.contains(QRegularExpression("[A-Za-z]"));
}

QStringList notChinese(const QStringList& texts) {
  QStringList found;
  for (const QString& text : texts)
    if (!chineseOnly(text)) found << text;
  return found;
}

// The texts of a menu's commands.
QStringList commands(const QMenu* menu) {
  QStringList texts;
  for (const QAction* action : menu->actions())
    if (!action->isSeparator()) texts << action->text();
  return texts;
}

// Calls `look` with the modal window that `open` shows (its event loop
// running), then closes that window.
void whileModal(const std::function<void()>& open, const std::function<void(QWidget*)>& look) {
  QTimer::singleShot(0, [&] {
    QWidget* shown = QApplication::activePopupWidget() ? QApplication::activePopupWidget()
                                                       : QApplication::activeModalWidget();
    if (shown) look(shown), shown->close();
  });
  open();
}

// What the visible save dialog says: caption, labels, buttons, the header
// of its file list, and its filter entries.
QStringList dialogWords(QFileDialog* dialog, QStringList* filters) {
  QStringList words{dialog->windowTitle()};
  for (const QLabel* label : dialog->findChildren<QLabel*>())
    if (label->isVisible()) words << label->text();
  for (const QAbstractButton* button : dialog->findChildren<QPushButton*>())
    if (button->isVisible()) words << button->text();
  if (const QTreeView* files = dialog->findChild<QTreeView*>("treeView");
      files && files->isVisible())
    for (int column = 0; column < files->model()->columnCount(); ++column)
      words << files->model()->headerData(column, Qt::Horizontal).toString();
  if (const QComboBox* types = dialog->findChild<QComboBox*>("fileTypeCombo"))
    for (int i = 0; i < types->count(); ++i) *filters << types->itemText(i);
  return words;
}

}  // namespace

class QtDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  // A user whose locale is English; every test starts as the program does.
  void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
  void init() { setUpApplication(*qApp); }

  void withoutTheTranslationFileQtStaysEnglishAndNothingIsSaid() {
    RecordingPlatform platform;
    QTemporaryDir empty;
    QTest::failOnWarning(QRegularExpression("."));
    QVERIFY(!installQtTranslations(empty.path()));
    QMessageBox box;
    box.setStandardButtons(QMessageBox::Ok);
    QCOMPARE(box.button(QMessageBox::Ok)->text(), QStringLiteral("OK"));
    QVERIFY(platform.messages.isEmpty());
  }

  void messageBoxesReadChinese() {
    QStringList words;
    whileModal([] { Platform::current().showMessage(nullptr, QStringLiteral("无最优解！")); },
               [&](QWidget* box) {
                 for (const QPushButton* button : box->findChildren<QPushButton*>())
                   words << button->text();
               });
    QCOMPARE(words, QStringList{"确定"});
    // The program's locale is Chinese whatever the user's.
    QCOMPARE(QLocale().language(), QLocale::Chinese);
  }

  // Wide enough for its caption, the program's title, beside the title-bar
  // buttons.
  void messageBoxesShowTheWholeTitle() {
    int width = 0;
    whileModal([] { Platform::current().showMessage(nullptr, QStringLiteral("无解！")); },
               [&](QWidget* box) { width = box->width(); });
    QVERIFY2(width >= QFontMetrics(QApplication::font()).horizontalAdvance(kApplicationTitle) + 150,
             qPrintable(QString::number(width)));
  }

  void reportSaveDialogReadsChineseAndFiltersByType() {
    ResultsWindow results;
    results.setReportText(kExampleReport);
    showActive(&results);
    QStringList words, filters, patterns;
    bool byName = false;
    whileModal([&] { results.save(); },
               [&](QWidget* dialog) {
                 auto* files = qobject_cast<QFileDialog*>(dialog);
                 if (!files) return;
                 words = dialogWords(files, &filters);
                 // Files listed by name only: the detail columns would follow
                 // the system's locale.
                 byName = files->viewMode() == QFileDialog::List;
                 // Each filter shows once, and the entry chosen decides which
                 // files are listed.
                 auto* types = files->findChild<QComboBox*>("fileTypeCombo");
                 auto* model = files->findChild<QFileSystemModel*>();
                 for (int i = 0; types && model && i < types->count(); ++i) {
                   types->setCurrentIndex(i);
                   emit types->activated(i);  // as a choice from its list
                   patterns << model->nameFilters().join(' ');
                 }
               });
    QVERIFY(words.size() >= 6);
    QCOMPARE(notChinese(words), QStringList());
    QVERIFY(words.contains("另存为"));
    QCOMPARE(filters, QStringList({"文件文件(*.TXT)", "DAT 文件(*.DAT)"}));
    QCOMPARE(patterns, QStringList({"*.TXT", "*.dat"}));
    QVERIFY(byName);
  }

  void reportBoxMenuReadsChinese() {
    ResultsWindow results;
    results.setReportText(kExampleReport);
    showActive(&results);
    QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(20, 20), QPoint(20, 20));
    QApplication::sendEvent(results.reportBox()->viewport(), &right);
    auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
    QVERIFY(menu);
    const QStringList words = commands(menu);
    menu->close();
    QVERIFY(words.contains("复制(&C)"));
    QVERIFY2(words.contains("撤销(&U)"), qPrintable(words.join(' ')));
    QVERIFY(words.contains("打印…") && words.contains("导出PDF…"));
    QCOMPARE(notChinese(words), QStringList());
  }

  // The cell editor's menu; its Paste goes through the editor's character
  // filter.
  void cellEditorMenuReadsChineseAndPastesThroughTheFilter() {
    LpWindow sheet;
    showActive(&sheet);
    layOut(sheet, 2, 2);
    clickCell(sheet.grid(), 1, 1);
    type("5");
    QVERIFY(sheet.numberEditor()->hasFocus());
    QStringList words;
    QGuiApplication::clipboard()->setText("a1.5");
    QContextMenuEvent right(QContextMenuEvent::Mouse, QPoint(20, 20), QPoint(20, 20));
    whileModal([&] { QApplication::sendEvent(sheet.numberEditor(), &right); },
               [&](QWidget* popup) {
                 auto* menu = qobject_cast<QMenu*>(popup);
                 words = commands(menu);
                 for (QAction* action : menu->actions())
                   if (action->text().startsWith("粘贴")) action->trigger();
               });
    QVERIFY(words.size() > 5);
    QCOMPARE(notChinese(words), QStringList());
    // One word for undo everywhere, as the menus say it.
    QVERIFY2(words.contains("撤销(&U)") && !words.join(' ').contains("撤消"),
             qPrintable(words.join(' ')));
    QCOMPARE(sheet.numberEditor()->text(), QStringLiteral("51.5"));
  }

  // The sheet's save dialog shows its filter with the pattern, as the open
  // dialog does.
  void sheetSaveDialogShowsItsPatterns() {
    LpWindow sheet;
    showActive(&sheet);
    layOut(sheet, 2, 2);
    QStringList filters;
    whileModal([&] { sheet.saveSheetAs(); },
               [&](QWidget* dialog) {
                 if (auto* files = qobject_cast<QFileDialog*>(dialog)) dialogWords(files, &filters);
               });
    QCOMPARE(filters, QStringList({"表格文件 (*.csv)", "所有文件 (*)"}));
  }
};

QTEST_MAIN(QtDialogsTest)
#include "qt_dialogs_test.moc"
