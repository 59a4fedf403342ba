#include "platform/atomic_file.h"

#include <QFileInfo>
#include <QSaveFile>

#include "platform/platform.h"

namespace orcalc::ui {

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
  // QSaveFile's commit does not notice a failure of the last flush (a full
  // disk may show up only now) and would put a short file in place.
  if (!file.flush()) {
    reason = file.errorString();
    file.cancelWriting();
    return {false, reason};
  }
  if (!file.commit()) return {false, file.errorString()};
  return {true, QString()};
}

}  // namespace orcalc::ui
