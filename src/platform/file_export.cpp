#include "platform/file_export.h"

#include <QDir>
#include <new>

#include "platform/atomic_file.h"
#include "platform/platform.h"
#include "platform/save_names.h"

namespace orcalc::ui {

void exportFile(QWidget* parent, const FileExport& what, QString& rememberedPath,
                const ExportBytes& bytes) {
  SaveFileRequest request;
  request.filter = what.filter;
  request.initialPath = what.initialPath;
  request.confirmOverwrite = true;
  request.hideFilterPatterns = false;
  QString filter;
  request.chosenFilter = &filter;
  const QString typed = Platform::current().chooseSaveFile(parent, request);
  if (typed.isEmpty()) return;  // cancelled: nothing is written
  // The type the name says; a name that says none gets the chosen type's
  // ending ("g" with SVG chosen is "g.svg", "pic.jpg" with PNG "pic.jpg.png").
  const QString fallback = filterEnding(filter).isEmpty() ? what.ending : filterEnding(filter);
  const QString path = withKnownEnding(typed, what.endings, fallback);
  if (!mayReplaceCompletedName(parent, typed, path)) return;
  rememberedPath = path;

  FileWriteResult result;
  try {
    const std::optional<QByteArray> made = bytes(path);
    if (!made) return;  // the maker has said why
    result = WriteFileAtomically(path, *made);
  } catch (const std::bad_alloc&) {
    // Nothing replaced the old file.
    result = {false, QStringLiteral("内存不足")};
  }
  if (!result.ok) {
    Platform::current().showMessage(
        parent,
        QStringLiteral("无法保存文件“%1”：%2").arg(QDir::toNativeSeparators(path), result.reason));
  }
}

}  // namespace orcalc::ui
