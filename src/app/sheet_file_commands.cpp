#include "app/sheet_file_commands.h"

#include <QByteArray>
#include <QDir>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QFileInfo>
#include <QMenu>
#include <QMimeData>
#include <QUrl>
#include <QWidget>
#include <utility>

#include "app/out_of_memory.h"
#include "app/sheet_files.h"
#include "app/sheet_recovery.h"
#include "platform/platform.h"
#include "platform/save_names.h"

namespace orcalc::ui {

namespace {

const char* const kSheetFilter = "表格文件 (*.csv);;所有文件 (*)";

QString nativePath(const QString& path) { return QDir::toNativeSeparators(path); }

// A local .csv file among dropped data.
QString droppedSheet(const QMimeData* data) {
  if (!data || !data->hasUrls() || data->urls().size() != 1) return {};
  const QUrl url = data->urls().front();
  if (!url.isLocalFile()) return {};
  const QString path = url.toLocalFile();
  return path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive) ? path : QString();
}

}  // namespace

SheetFileCommands::SheetFileCommands(Window window, SheetRecovery& recovery, QObject* parent)
    : QObject(parent), window_(std::move(window)), recovery_(recovery) {}

bool SheetFileCommands::hasUnsavedChanges() const {
  return !history_.path().isEmpty() && history_.differsFromFile(window_.fileBytes());
}

// ---- Opening ----

void SheetFileCommands::open() {
  if (!mayDiscardChanges()) return;
  OpenFileRequest request;
  request.filter = QString::fromUtf8(kSheetFilter);
  const QStringList recent = recentSheets(window_.recentKind);
  request.initialPath = !path().isEmpty()  ? QFileInfo(path()).absolutePath()
                        : recent.isEmpty() ? QString()
                                           : QFileInfo(recent.front()).absolutePath();
  const QString chosen = Platform::current().chooseOpenFile(window_.widget, request);
  if (!chosen.isEmpty()) load(chosen);
}

bool SheetFileCommands::openFile(const QString& path) { return mayDiscardChanges() && load(path); }

bool SheetFileCommands::load(const QString& path) {
  const bool opened =
      takeSheetFrom(path, path, QStringLiteral("打开表格"), [&](const QString& why) {
        return QStringLiteral("无法打开表格文件“%1”：%2。表格没有改变。")
            .arg(nativePath(path), why);
      });
  // A remembered file that went away leaves the list.
  if (!opened && !QFileInfo::exists(path)) forgetSheet(window_.recentKind, path);
  return opened;
}

void SheetFileCommands::restoreLast() {
  if (!recovery_.available() || !mayDiscardChanges()) return;
  takeSheetFrom(recovery_.path(), QString(), QStringLiteral("恢复上次的表格"),
                [](const QString& why) {
                  return QStringLiteral("无法恢复上次的表格：%1。表格没有改变。").arg(why);
                });
}

bool SheetFileCommands::takeSheetFrom(const QString& source, const QString& file,
                                      const QString& step,
                                      const std::function<QString(const QString& why)>& refusal) {
  bool taken = false;
  runGuarded(window_.widget, [&] {
    SheetFileRead read = readSheetFile(source);
    const QString why = read.ok ? window_.takeSheet(read, step, file) : read.reason;
    if (!why.isEmpty()) {
      Platform::current().showMessage(window_.widget, refusal(why));
      return;
    }
    if (!file.isEmpty()) connectToFile(file, window_.fileBytes());
    taken = true;
  });
  return taken;
}

void SheetFileCommands::fillRecentMenu(QMenu* menu) {
  menu->clear();
  const QStringList paths = recentSheets(window_.recentKind);
  for (int i = 0; i < paths.size(); ++i) {
    const QString& recent = paths[i];
    QAction* a = menu->addAction(
        QStringLiteral("&%1 %2").arg(i + 1).arg(nativePath(recent).replace('&', "&&")));
    connect(a, &QAction::triggered, this, [this, recent] { openFile(recent); });
  }
  if (paths.isEmpty()) menu->addAction(QStringLiteral("（无）"))->setEnabled(false);
}

void SheetFileCommands::dragEnter(QDragEnterEvent* event) {
  if (!droppedSheet(event->mimeData()).isEmpty()) event->acceptProposedAction();
}

void SheetFileCommands::drop(QDropEvent* event) {
  const QString dropped = droppedSheet(event->mimeData());
  if (dropped.isEmpty()) return;
  event->acceptProposedAction();
  openFile(dropped);
}

// ---- Saving ----

bool SheetFileCommands::save() {
  // A sheet that came from no file is saved under a name the user chooses.
  if (path().isEmpty()) return saveAs();
  return write(path());
}

bool SheetFileCommands::readyToSave() {
  // An open editor is committed first, as Calculate does.
  window_.closeEditors();
  if (window_.laidOut()) return true;
  Platform::current().showMessage(window_.widget, QStringLiteral("表格还没有排好，请先按“确定”。"));
  return false;
}

bool SheetFileCommands::saveAs() {
  if (!readyToSave()) return false;
  SaveFileRequest request;
  request.filter = QString::fromUtf8(kSheetFilter);
  request.initialPath = path();
  request.confirmOverwrite = true;
  request.hideFilterPatterns = false;
  const QString typed = Platform::current().chooseSaveFile(window_.widget, request);
  if (typed.isEmpty()) return false;
  const QString chosen =
      QFileInfo(typed).suffix().isEmpty() ? typed + QStringLiteral(".csv") : typed;
  if (!mayReplaceCompletedName(window_.widget, typed, chosen)) return false;
  return write(chosen);
}

bool SheetFileCommands::write(const QString& path) {
  if (!readyToSave()) return false;
  bool saved = false;
  runGuarded(window_.widget, [&] {
    std::string bytes = window_.fileBytes();
    const QString reason =
        writeFileAtomically(path, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    if (!reason.isEmpty()) {
      Platform::current().showMessage(
          window_.widget, QStringLiteral("无法保存表格文件“%1”：%2").arg(nativePath(path), reason));
      return;
    }
    connectToFile(path, std::move(bytes));
    saved = true;
  });
  return saved;
}

bool SheetFileCommands::mayDiscardChanges() {
  if (path().isEmpty()) return true;
  window_.closeEditors();
  if (!hasUnsavedChanges()) return true;
  const QString question =
      QStringLiteral("表格“%1”已经改动，要保存吗？").arg(QFileInfo(path()).fileName());
  switch (Platform::current().askSaveChanges(window_.widget, question)) {
    case SaveChangesAnswer::Save:
      return save();
    case SaveChangesAnswer::Discard:
      return true;
    case SaveChangesAnswer::Cancel:
      break;
  }
  return false;
}

// ---- The file of the sheet ----

void SheetFileCommands::connectToFile(const QString& path, std::string bytes) {
  history_.connect(path, std::move(bytes));
  showInCaption();
  rememberSheet(window_.recentKind, path);
}

void SheetFileCommands::stepPushed(int index, const QString& file) { history_.push(index, file); }

void SheetFileCommands::reach(int index) {
  history_.reach(index);
  showInCaption();
}

void SheetFileCommands::showInCaption() {
  QString caption = window_.caption;
  // A sheet connected to a file shows whether it changed since, the
  // desktop's way ("[*]" stands where the mark goes).
  if (!path().isEmpty()) caption += QStringLiteral(" - ") + QFileInfo(path()).fileName() + "[*]";
  window_.widget->setWindowTitle(caption);
  window_.widget->setWindowModified(hasUnsavedChanges());
}

}  // namespace orcalc::ui
