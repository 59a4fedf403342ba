// The file commands on their own, driven through the hooks a sheet window
// gives them: which sheet they hand over and with which undo step, what
// they refuse and say, what they save, and the question about unsaved
// changes.
#include "app/sheet_file_commands.h"

#include <QtTest>
#include <QtWidgets>

#include "app/sheet_files.h"
#include "app/sheet_recovery.h"
#include "support/recording_platform.h"

using namespace orcalc;
using namespace orcalc::ui;
using namespace orcalc::ui::testing;

namespace {

// What the commands asked of the window, and what it answers.
struct FakeWindow {
  QWidget widget;
  bool laid_out = true;
  std::string bytes = "1,2\r\n";
  QString refusal;  // empty: the window takes the sheet
  int editor_closings = 0;
  QStringList steps;  // "step|file" for each sheet taken
  SheetFileCommands* commands = nullptr;
  int undo_index = 0;

  SheetFileCommands::Window hooks() {
    SheetFileCommands::Window window;
    window.widget = &widget;
    window.caption = QStringLiteral("线性规划");
    window.recentKind = QStringLiteral("test");
    window.closeEditors = [this] { ++editor_closings; };
    window.laidOut = [this] { return laid_out; };
    window.fileBytes = [this] { return bytes; };
    window.takeSheet = [this](const SheetFileRead& read, const QString& step, const QString& file) {
      if (!refusal.isEmpty()) return refusal;
      steps << step + "|" + file;
      bytes = "taken " + std::to_string(read.sheet.rows()) + "\r\n";
      // As the window's undo stack does: a step pushed, then reached.
      commands->stepPushed(undo_index, file);
      commands->reach(++undo_index);
      return QString();
    };
    return window;
  }
};

struct Fixture {
  FakeWindow window;
  SheetRecovery recovery{QStringLiteral("test"), [] { return std::nullopt; }, nullptr};
  SheetFileCommands commands{window.hooks(), recovery, nullptr};
  Fixture() { window.commands = &commands; }
};

bool writeFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

}  // namespace

class SheetFileCommandsTest : public QObject {
  Q_OBJECT
  QTemporaryDir settings_;

 private slots:
  void initTestCase() {
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settings_.path());
  }

  void openingHandsTheSheetOverOrSaysWhyNot() {
    struct Case {
      const char* name;
      bool file_there;
      const char* refusal;
      bool opened;
      const char* message;  // after the file's name; empty: none
    };
    const Case cases[] = {
        {"a sheet the window takes", true, "", true, ""},
        {"a sheet of the other window", true, "它属于目标规划窗口", false,
         "：它属于目标规划窗口。表格没有改变。"},
        {"a file that went away", false, "", false, "："},
    };
    for (const Case& c : cases) {
      RecordingPlatform platform;
      QTemporaryDir dir;
      Fixture f;
      f.window.refusal = QString::fromUtf8(c.refusal);
      const QString path = dir.filePath("表.csv");
      if (c.file_there) QVERIFY2(writeFile(path, "1,2\r\n3,4\r\n"), c.name);
      rememberSheet(QStringLiteral("test"), path);
      QCOMPARE(f.commands.openFile(path), c.opened);
      QVERIFY2(f.commands.path() == (c.opened ? path : QString()), c.name);
      QVERIFY2(f.window.steps == (c.opened ? QStringList{"打开表格|" + path} : QStringList()),
               c.name);
      if (*c.message) {
        QVERIFY2(platform.messages.size() == 1, c.name);
        const QString prefix =
            QStringLiteral("无法打开表格文件“%1”").arg(QDir::toNativeSeparators(path));
        QVERIFY2(platform.messages.front().startsWith(prefix + QString::fromUtf8(c.message)),
                 qPrintable(QString::fromUtf8(c.name) + ": " + platform.messages.front()));
      } else {
        QVERIFY2(platform.messages.isEmpty(), c.name);
        QCOMPARE(f.window.widget.windowTitle(), QStringLiteral("线性规划 - 表.csv[*]"));
        QVERIFY2(!f.commands.hasUnsavedChanges(), c.name);
      }
      // Only a file that is gone leaves the recent list.
      QVERIFY2(recentSheets(QStringLiteral("test")).contains(path) == c.file_there, c.name);
    }
  }

  void savingNeedsALaidOutSheetAndWritesWhatTheWindowRecords() {
    struct Case {
      const char* name;
      bool laid_out;
      const char* typed;  // in the save dialog; empty: cancelled
      const char* saved;  // the file written; empty: none
    };
    const Case cases[] = {
        {"nothing laid out yet", false, "表", ""},
        {"a name without suffix", true, "表", "表.csv"},
        {"a name with its own suffix", true, "表.txt", "表.txt"},
        {"the dialog cancelled", true, "", ""},
    };
    for (const Case& c : cases) {
      RecordingPlatform platform;
      QTemporaryDir dir;
      Fixture f;
      f.window.laid_out = c.laid_out;
      f.window.bytes = "3,4\r\n";
      platform.nextSavePath = *c.typed ? dir.filePath(QString::fromUtf8(c.typed)) : QString();
      const bool saved = f.commands.save();  // no file yet: saved as
      QVERIFY2(saved == (*c.saved != 0), c.name);
      QVERIFY2(f.window.editor_closings >= 1, c.name);
      QVERIFY2(platform.saveRequests.size() == (c.laid_out ? 1 : 0), c.name);
      QVERIFY2(platform.messages ==
                   (c.laid_out ? QStringList() : QStringList{"表格还没有排好，请先按“确定”。"}),
               c.name);
      if (!saved) {
        QVERIFY2(f.commands.path().isEmpty(), c.name);
        continue;
      }
      const QString path = dir.filePath(QString::fromUtf8(c.saved));
      QVERIFY2(f.commands.path() == path, c.name);
      QFile file(path);
      QVERIFY2(file.open(QIODevice::ReadOnly) && file.readAll() == "3,4\r\n", c.name);
      QVERIFY2(!f.commands.hasUnsavedChanges(), c.name);
      f.window.bytes = "5,6\r\n";
      QVERIFY2(f.commands.hasUnsavedChanges(), c.name);
    }
  }

  void theUnsavedChangesQuestionDecidesWhetherTheSheetMayGo() {
    struct Case {
      const char* name;
      bool changed;
      SaveChangesAnswer answer;
      bool may_go;
      bool asked;
      const char* in_file;  // the file afterwards
    };
    const Case cases[] = {
        {"unchanged: no question", false, SaveChangesAnswer::Cancel, true, false, "1,2\r\n"},
        {"changed, saved", true, SaveChangesAnswer::Save, true, true, "changed\r\n"},
        {"changed, discarded", true, SaveChangesAnswer::Discard, true, true, "1,2\r\n"},
        {"changed, cancelled", true, SaveChangesAnswer::Cancel, false, true, "1,2\r\n"},
    };
    for (const Case& c : cases) {
      RecordingPlatform platform;
      QTemporaryDir dir;
      Fixture f;
      const QString path = dir.filePath("表.csv");
      f.window.bytes = "1,2\r\n";
      platform.nextSavePath = path;
      QVERIFY2(f.commands.saveAs(), c.name);
      if (c.changed) f.window.bytes = "changed\r\n";
      platform.nextAnswer = c.answer;
      QVERIFY2(f.commands.mayDiscardChanges() == c.may_go, c.name);
      QVERIFY2(platform.questions ==
                   (c.asked ? QStringList{"表格“表.csv”已经改动，要保存吗？"} : QStringList()),
               c.name);
      QFile file(path);
      QVERIFY2(file.open(QIODevice::ReadOnly) && file.readAll() == c.in_file, c.name);
    }
  }
};

QTEST_MAIN(SheetFileCommandsTest)
#include "sheet_file_commands_test.moc"
