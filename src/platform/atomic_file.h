// The windows' side of the one file writer: every file a window saves
// (report, sheet, picture, recovered sheet) goes through it.
#pragma once

#include <QByteArray>
#include <QString>

#include "files/file_writer.h"

namespace orcalc::ui {

struct FileWriteResult {
  bool ok = false;
  QString reason;  // why the file could not be written, in Chinese, when !ok
};

// Creates or replaces `path` with `bytes`. Refused, and left untouched:
// anything that exists and is not a regular file (a folder, a device, a
// pipe), and a read-only file (by its permission bits, also for the
// superuser). A failure at any later step leaves an existing file as it
// was; a replaced file keeps its permissions. The bytes go through
// Platform::writeToFile.
FileWriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes);

// write(2) as the platform in force does it (tests stand in for a full disk).
files::WriteCall platformWriteCall();

}  // namespace orcalc::ui
