#include "app/sheet_files.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QSettings>

#include "common/sheet_file.h"
#include "platform/platform.h"

namespace orcalc::ui {
namespace {

QString settingsKey(const QString& kind) { return QStringLiteral("recentSheets/") + kind; }

// The program's own settings file (per user).
const QString kOrganisation = QStringLiteral("orcalc");
const QString kApplication = QStringLiteral("orcalc");

}  // namespace

SheetFileRead readSheetFile(const QString& path) {
  SheetFileRead read;
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    read.reason = file.errorString();
    return read;
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    read.reason = file.errorString();
    return read;
  }
  SheetFileResult result =
      ReadSheetCsv(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
  if (!result.ok) {
    read.reason = QString::fromStdString(result.error);
    return read;
  }
  read.ok = true;
  read.sheet = std::move(result.sheet);
  return read;
}

QString writeFileAtomically(const QString& path, const QByteArray& bytes) {
  const QFileInfo info(path);
  if (info.exists() && info.isFile() && !info.isWritable()) return QStringLiteral("文件是只读的");
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return file.errorString();
  QString reason;
  if (!Platform::current().writeBytes(file, bytes, &reason)) {
    file.cancelWriting();
    return reason;
  }
  // A failure of the last flush (a full disk) shows up only here; commit
  // would not notice it and put a short file in place of the old one.
  if (!file.flush()) {
    reason = file.errorString();
    file.cancelWriting();
    return reason;
  }
  if (!file.commit()) return file.errorString();
  return {};
}

QStringList recentSheets(const QString& kind) {
  const QSettings store(kOrganisation, kApplication);
  QStringList list = store.value(settingsKey(kind)).toStringList();
  while (list.size() > kRecentSheetCount) list.removeLast();
  return list;
}

void rememberSheet(const QString& kind, const QString& path) {
  const QString absolute = QFileInfo(path).absoluteFilePath();
  QStringList list = recentSheets(kind);
  list.removeAll(absolute);
  list.prepend(absolute);
  while (list.size() > kRecentSheetCount) list.removeLast();
  QSettings(kOrganisation, kApplication).setValue(settingsKey(kind), list);
}

void forgetSheet(const QString& kind, const QString& path) {
  QStringList list = recentSheets(kind);
  list.removeAll(QFileInfo(path).absoluteFilePath());
  QSettings(kOrganisation, kApplication).setValue(settingsKey(kind), list);
}

}  // namespace orcalc::ui
