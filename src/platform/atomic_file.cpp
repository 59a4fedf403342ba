#include "platform/atomic_file.h"

#include <QFile>

#include "platform/file_failures.h"
#include "platform/platform.h"

namespace orcalc::ui {

files::WriteCall platformWriteCall() {
  return [](int fd, const char* data, std::size_t size) {
    return Platform::current().writeToFile(fd, data, size);
  };
}

FileWriteResult WriteFileAtomically(const QString& path, const QByteArray& bytes) {
  const files::WriteOutcome outcome = files::WriteFileAtomically(
      QFile::encodeName(path).toStdString(),
      std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())),
      platformWriteCall());
  if (outcome.ok()) return {true, QString()};
  return {false, writeFailureText(outcome)};
}

}  // namespace orcalc::ui
