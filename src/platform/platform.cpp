#include "platform/platform.h"

#include <errno.h>

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QIODevice>
#include <QMessageBox>

#include "platform/ansi_file.h"

namespace orcalc::ui {
namespace {

class SystemPlatform final : public Platform {
 public:
  void showMessage(QWidget* parent, const QString& text) override {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kApplicationTitle), text,
                    QMessageBox::Ok, parent);
    box.exec();
  }

  void beep() override { QApplication::beep(); }

  QString chooseSaveFile(QWidget* parent, const SaveFileRequest& request) override {
    // No title, no default suffix, no overwrite question: the name typed is
    // the name used.
    return QFileDialog::getSaveFileName(parent, QString(), request.initialPath, request.filter,
                                        nullptr, QFileDialog::DontConfirmOverwrite);
  }

  void runModal(QDialog* dialog) override { dialog->exec(); }
};

SystemPlatform& systemPlatform() {
  static SystemPlatform platform;
  return platform;
}

Platform* installed = nullptr;

}  // namespace

bool Platform::writeBytes(QIODevice& file, const QByteArray& bytes, QString* reason) {
  // A disk that fills part-way takes some bytes without an error; writing
  // the rest then fails with the system's reason.
  qsizetype done = 0;
  while (done < bytes.size()) {
    errno = 0;
    const qint64 written = file.write(bytes.constData() + done, bytes.size() - done);
    if (written <= 0) {
      if (reason) {
        auto* device = qobject_cast<QFileDevice*>(&file);
        *reason = device ? WriteFailureText(*device) : file.errorString();
      }
      return false;
    }
    done += written;
  }
  return true;
}

Platform& Platform::current() { return installed ? *installed : systemPlatform(); }

void Platform::install(Platform* platform) { installed = platform; }

}  // namespace orcalc::ui
