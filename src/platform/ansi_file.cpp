#include "platform/ansi_file.h"

#include <errno.h>
#include <iconv.h>

#include <QFileInfo>
#include <QSaveFile>

#include "platform/platform.h"

namespace orcalc::ui {

std::optional<QByteArray> EncodeAnsi(std::string_view utf8) {
  iconv_t cd = iconv_open("GB18030", "UTF-8");
  if (cd == reinterpret_cast<iconv_t>(-1)) return std::nullopt;
  // A UTF-8 sequence of n bytes becomes at most 2n bytes of GB18030 (two-byte
  // sequences are the worst case: up to four bytes out).
  QByteArray out(static_cast<qsizetype>(utf8.size() * 2 + 4), Qt::Uninitialized);
  char* in_ptr = const_cast<char*>(utf8.data());
  size_t in_left = utf8.size();
  char* out_ptr = out.data();
  size_t out_left = static_cast<size_t>(out.size());
  size_t done = utf8.empty() ? 0 : iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
  bool ok = done != static_cast<size_t>(-1) && in_left == 0;
  if (ok) ok = iconv(cd, nullptr, nullptr, &out_ptr, &out_left) != static_cast<size_t>(-1);
  iconv_close(cd);
  if (!ok) return std::nullopt;
  out.truncate(out_ptr - out.data());
  return out;
}

FileWriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes) {
  const QFileInfo info(path);
  if (info.exists() && info.isFile() && !info.isWritable()) {
    return {false, QStringLiteral("文件是只读的")};
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly)) return {false, file.errorString()};
  QString reason;
  if (!Platform::current().writeBytes(file, bytes, &reason)) {
    file.cancelWriting();
    return {false, reason};
  }
  // Bytes still in the write buffer reach the disk here. QSaveFile's commit
  // does not notice a failure of this last flush (a full disk then shows up
  // only now) and would put a short file in place of the old one.
  if (!file.flush()) {
    reason = file.errorString();
    file.cancelWriting();
    return {false, reason};
  }
  if (!file.commit()) return {false, file.errorString()};
  return {true, QString()};
}

}  // namespace orcalc::ui
