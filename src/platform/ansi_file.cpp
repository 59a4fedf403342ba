#include "platform/ansi_file.h"

#include <errno.h>
#include <iconv.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cstring>
#include <functional>

#include "platform/platform.h"

namespace orcalc::ui {
namespace {

constexpr qsizetype kPieceBytes = 64 * 1024;

enum class EncodeStatus { Ok, NoConverter, BadText, SinkFailed };

// Converts `utf8` to GB18030 and hands the result to `sink` in pieces of at
// most kPieceBytes.
EncodeStatus EncodeInPieces(std::string_view utf8,
                            const std::function<bool(const QByteArray&)>& sink) {
  iconv_t cd = iconv_open("GB18030", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return EncodeStatus::NoConverter;
  QByteArray piece(kPieceBytes, Qt::Uninitialized);
  char* in_ptr = const_cast<char*>(utf8.data());
  size_t in_left = utf8.size();
  EncodeStatus status = EncodeStatus::Ok;
  bool flushing = false;  // the last call, which ends the shift state
  while (status == EncodeStatus::Ok) {
    char* out_ptr = piece.data();
    size_t out_left = static_cast<size_t>(piece.size());
    size_t done = flushing ? iconv(cd, nullptr, nullptr, &out_ptr, &out_left)
                           : iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
    const bool full = done == static_cast<size_t>(-1) && errno == E2BIG;
    if (done == static_cast<size_t>(-1) && !full) {
      status = EncodeStatus::BadText;  // not UTF-8, or cut inside a character
      break;
    }
    const qsizetype produced = out_ptr - piece.data();
    if (produced > 0 && !sink(QByteArray::fromRawData(piece.constData(), produced))) {
      status = EncodeStatus::SinkFailed;
      break;
    }
    if (full) continue;
    if (flushing) break;
    flushing = true;
  }
  iconv_close(cd);
  return status;
}

// Why writing `file` failed. A full disk is named in Chinese: in the words of
// Qt's own translation when it is loaded, in ours otherwise.
QString WriteFailureReason(const QFileDevice& file, int error_number) {
  if (file.error() == QFileDevice::ResourceError || error_number == ENOSPC) {
    const char* const source = "No space left on device";
    const QString translated = QCoreApplication::translate("QIODevice", source);
    return translated != QLatin1String(source) ? translated : QStringLiteral("设备上没有剩余空间");
  }
  if (file.error() == QFileDevice::NoError && error_number != 0) {
    return QString::fromLocal8Bit(std::strerror(error_number));
  }
  return file.errorString();
}

// Whether `info` (an existing file) is read-only by its permission bits:
// no one may write it. The bits decide, not whether this user could write,
// since the superuser may write anything.
bool ReadOnlyByPermissions(const QFileInfo& info) {
  return !(info.permissions() &
           (QFileDevice::WriteOwner | QFileDevice::WriteGroup | QFileDevice::WriteOther));
}

}  // namespace

std::optional<QByteArray> EncodeAnsi(std::string_view utf8) {
  QByteArray out;
  const EncodeStatus status = EncodeInPieces(utf8, [&](const QByteArray& piece) {
    out.append(piece);
    return true;
  });
  if (status != EncodeStatus::Ok) return std::nullopt;
  return out;
}

FileWriteResult WriteAnsiFileAtomically(const QString& path, std::string_view utf8) {
  const QFileInfo info(path);  // follows a symbolic link to what it names
  const bool replacing = info.exists();
  if (replacing && !info.isFile()) {
    // A folder, a device, a pipe or a socket: writing "into" it would
    // replace it with a plain file (as the superuser, even /dev/null).
    return {false, QStringLiteral("它不是普通文件")};
  }
  if (replacing && (ReadOnlyByPermissions(info) || !info.isWritable())) {
    return {false, QStringLiteral("文件是只读的")};
  }
  const QFileDevice::Permissions permissions =
      replacing ? info.permissions() : QFileDevice::Permissions();
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return {false, WriteFailureReason(file, errno)};
  QString reason;
  const EncodeStatus status = EncodeInPieces(utf8, [&](const QByteArray& piece) {
    return Platform::current().writeBytes(file, piece, &reason);
  });
  if (status != EncodeStatus::Ok) {
    file.cancelWriting();
    if (status == EncodeStatus::BadText) reason = QStringLiteral("文本无法转换为保存所用的编码");
    // The converter could not be set up: in practice the memory ran out.
    if (status == EncodeStatus::NoConverter) reason = QStringLiteral("内存不足，无法转换编码");
    return {false, reason};
  }
  // Bytes still in the write buffer reach the disk here. QSaveFile's commit
  // does not notice a failure of this last flush (a full disk then shows up
  // only now) and would put a short file in place of the old one.
  errno = 0;
  if (!file.flush()) {
    reason = WriteFailureReason(file, errno);
    file.cancelWriting();
    return {false, reason};
  }
  errno = 0;
  if (!file.commit()) return {false, WriteFailureReason(file, errno)};
  // The new file takes the old one's permissions (the temporary file it was
  // written as may have others).
  if (replacing) QFile::setPermissions(path, permissions);
  return {true, QString()};
}

QString WriteFailureText(const QFileDevice& file) { return WriteFailureReason(file, errno); }

}  // namespace orcalc::ui
