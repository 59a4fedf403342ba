// Writing a file in one piece: a temporary file beside the target replaces
// it only once every byte is on the disk.
#pragma once

#include <QByteArray>
#include <QString>

#include "platform/ansi_file.h"

namespace orcalc::ui {

// Creates or replaces `path` with `bytes`. A failure at any point leaves an
// existing file as it was; a read-only existing file is refused rather than
// replaced. The bytes go through Platform::writeBytes.
FileWriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes);

}  // namespace orcalc::ui
