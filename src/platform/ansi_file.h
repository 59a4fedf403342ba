// Text-file output of a saved report: the text converted to the ANSI code
// page of a Simplified Chinese system, written atomically.
#pragma once

#include <QByteArray>
#include <QString>
#include <optional>
#include <string_view>

#include "platform/atomic_file.h"

namespace orcalc::ui {

// `utf8` converted to GB18030: byte-identical to GBK for every character GBK
// has, and four-byte sequences for the characters GBK lacks, so nothing is
// lost. Empty when `utf8` is not well-formed UTF-8.
std::optional<QByteArray> EncodeAnsi(std::string_view utf8);

// Creates or replaces `path` with `utf8` converted as EncodeAnsi does,
// through the one file writer (see WriteFileAtomically): converted and
// written piece by piece, so a long report is never held twice.
FileWriteResult WriteAnsiFileAtomically(const QString& path, std::string_view utf8);

}  // namespace orcalc::ui
