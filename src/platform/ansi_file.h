// Text-file output of a saved report: the text converted to the ANSI code
// page of a Simplified Chinese system, written atomically.
#pragma once

#include <QByteArray>
#include <QFileDevice>
#include <QString>
#include <optional>
#include <string_view>

namespace orcalc::ui {

// `utf8` converted to GB18030: byte-identical to GBK for every character GBK
// has, and four-byte sequences for the characters GBK lacks, so nothing is
// lost. Empty when `utf8` is not well-formed UTF-8.
std::optional<QByteArray> EncodeAnsi(std::string_view utf8);

struct FileWriteResult {
  bool ok = false;
  QString reason;  // why the file could not be written, when !ok
};

// Creates or replaces `path` with `utf8` converted as EncodeAnsi does. The
// text is converted and written piece by piece (a long report is never held
// twice) into a temporary file beside the target, which then replaces it, so
// a failure at any point leaves an existing file as it was. Refused, and
// left untouched: anything that exists and is not a plain file (a folder, a
// device, a pipe), and a read-only file (by its permission bits, also for
// the superuser). A replaced file keeps its permissions.
FileWriteResult WriteAnsiFileAtomically(const QString& path, std::string_view utf8);

// Why writing `file` failed, with errno as the system left it: a full disk
// in Chinese, otherwise the device's own text.
QString WriteFailureText(const QFileDevice& file);

}  // namespace orcalc::ui
