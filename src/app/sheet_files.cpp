#include "app/sheet_files.h"

#include <QFile>
#include <QFileInfo>
#include <QSettings>

#include "files/sheet_file.h"
#include "files/sheet_file_source.h"
#include "platform/atomic_file.h"
#include "platform/file_failures.h"

namespace orcalc::ui {
namespace {

QString settingsKey(const QString& kind) { return QStringLiteral("recentSheets/") + kind; }

// The program's own settings file (per user).
const QString kOrganisation = QStringLiteral("orcalc");
const QString kApplication = QStringLiteral("orcalc");

}  // namespace

SheetFileRead readSheetFile(const QString& path) {
  SheetFileRead read;
  SheetFileResult result =
      files::ReadSheetFileAt(QFile::encodeName(path).toStdString(), files::Source::RegularFileOnly);
  if (!result.ok) {
    read.reason = sheetFileFailureText(result);
    return read;
  }
  read.ok = true;
  read.sheet = std::move(result.sheet);
  read.variable_types = std::move(result.variable_types);
  return read;
}

QString writeFileAtomically(const QString& path, const QByteArray& bytes) {
  return WriteFileAtomically(path, bytes).reason;
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
