#include "app/sheet_recovery.h"

#include <QByteArray>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <new>

#include "app/sheet_files.h"

namespace orcalc::ui {

QString recoveryFilePath(const QString& kind) {
  const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
  if (folder.isEmpty()) return {};
  return QDir(folder).filePath(QStringLiteral("last-sheet-%1.csv").arg(kind));
}

SheetRecovery::SheetRecovery(const QString& kind, SheetBytes sheetBytes, QObject* parent)
    : QObject(parent), kind_(kind), sheetBytes_(std::move(sheetBytes)) {
  timer_.setSingleShot(true);
  timer_.setInterval(kWriteDelay);
  connect(&timer_, &QTimer::timeout, this, &SheetRecovery::writeNow);
}

bool SheetRecovery::available() const {
  const QString file = path();
  return !file.isEmpty() && QFileInfo(file).isFile();
}

void SheetRecovery::changed() {
  // A running timer already covers this change.
  if (!timer_.isActive()) timer_.start();
}

void SheetRecovery::writeNow() {
  timer_.stop();
  try {
    const std::optional<std::string> bytes = sheetBytes_();
    const QString file = path();
    if (!bytes || file.isEmpty() || !QDir().mkpath(QFileInfo(file).absolutePath())) return;
    const QByteArray data(bytes->data(), static_cast<qsizetype>(bytes->size()));
    if (writeFileAtomically(file, data).isEmpty()) emit written();
  } catch (const std::bad_alloc&) {
    // Keeping the sheet must not end the command that asked for it.
  }
}

}  // namespace orcalc::ui
