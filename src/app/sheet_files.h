// Sheet files on disk for the windows: reading one, writing one atomically,
// and the list of recently opened sheets kept between runs.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

#include "common/sheet.h"

namespace orcalc::ui {

struct SheetFileRead {
  bool ok = false;
  Sheet sheet{0, 0};
  QString reason;  // why the file cannot be read, when !ok
};

// Reads and decodes `path` as the command-line program does.
SheetFileRead readSheetFile(const QString& path);

// Replaces `path` with `bytes` through a temporary file beside it, so that a
// failure leaves an existing file as it was. Empty on success, otherwise why
// the file could not be written.
QString writeFileAtomically(const QString& path, const QByteArray& bytes);

// The sheets opened or saved last, newest first, at most eight, kept per
// kind of sheet ("lp", "goal").
inline constexpr int kRecentSheetCount = 8;
QStringList recentSheets(const QString& kind);
void rememberSheet(const QString& kind, const QString& path);
void forgetSheet(const QString& kind, const QString& path);

}  // namespace orcalc::ui
