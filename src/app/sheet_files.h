// Sheet files on disk for the windows: reading one, writing one atomically,
// and the list of recently opened sheets kept between runs.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <optional>
#include <string>
#include <vector>

#include "common/sheet.h"

namespace orcalc::ui {

struct SheetFileRead {
  bool ok = false;
  Sheet sheet{0, 0};
  QString reason;  // why the file cannot be read, when !ok
  // The fields of the file's variable-types record, when it has one.
  std::optional<std::vector<std::string>> variable_types;
};

// Reads and decodes `path` as the command-line program does, within the
// same limits; anything but a regular file is refused before it is opened,
// so that nothing blocks the window. The reason is in Chinese.
SheetFileRead readSheetFile(const QString& path);

// Replaces `path` with `bytes` through the one file writer
// (WriteFileAtomically). Empty on success, otherwise why the file could not
// be written, in Chinese.
QString writeFileAtomically(const QString& path, const QByteArray& bytes);

// The sheets opened or saved last, newest first, at most eight, kept per
// kind of sheet ("lp", "goal").
inline constexpr int kRecentSheetCount = 8;
QStringList recentSheets(const QString& kind);
void rememberSheet(const QString& kind, const QString& path);
void forgetSheet(const QString& kind, const QString& path);

}  // namespace orcalc::ui
