// The export command of a window: a name asked for in the save dialog, the
// ending of its type completed, a file replaced under a completed name only
// when the user agrees, and the bytes written through the one file writer.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

class QWidget;

namespace orcalc::ui {

struct FileExport {
  QString filter;       // the save dialog's filter text
  QString initialPath;  // where the dialog starts
  QStringList endings;  // a name with one of these (any case) keeps it
  QString ending;       // else the chosen filter's ending is added, or this
};

// The file's bytes for `path`; nothing when no file is to be written (the
// maker has told the user why). May throw std::bad_alloc: nothing is
// written then, and the user hears the memory ran out.
using ExportBytes = std::function<std::optional<QByteArray>(const QString& path)>;

// Runs the export; `rememberedPath` receives the name once it is settled.
// A cancelled dialog or question writes nothing; a failed write is told.
void exportFile(QWidget* parent, const FileExport& what, QString& rememberedPath,
                const ExportBytes& bytes);

}  // namespace orcalc::ui
