#include "platform/platform.h"

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QIODevice>
#include <QMessageBox>
#include <QPointer>
#include <QProgressDialog>

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
  if (file.write(bytes) == bytes.size()) return true;
  if (reason) *reason = file.errorString();
  return false;
}

namespace {

class SystemProgressDialog final : public ProgressDialog {
 public:
  SystemProgressDialog(QWidget* parent, const QString& text, std::function<void()> onCancel)
      : dialog_(new QProgressDialog(parent)) {
    dialog_->setObjectName(QStringLiteral("ProgressDialog"));
    dialog_->setWindowTitle(QStringLiteral("正在计算"));
    dialog_->setLabelText(text);
    dialog_->setCancelButtonText(QStringLiteral("取消"));
    dialog_->setRange(0, 0);  // no known end: a busy bar
    dialog_->setMinimumDuration(0);
    dialog_->setAutoClose(false);
    dialog_->setAutoReset(false);
    dialog_->setWindowModality(Qt::ApplicationModal);
    dialog_->setMinimumWidth(320);
    QObject::connect(dialog_, &QProgressDialog::canceled, dialog_, [cancel = std::move(onCancel)] {
      if (cancel) cancel();
    });
    dialog_->show();
  }
  ~SystemProgressDialog() override { delete dialog_; }

  void setText(const QString& text) override {
    if (dialog_) dialog_->setLabelText(text);
  }

 private:
  QPointer<QProgressDialog> dialog_;
};

}  // namespace

std::unique_ptr<ProgressDialog> Platform::showProgress(QWidget* parent, const QString& text,
                                                       std::function<void()> onCancel) {
  return std::make_unique<SystemProgressDialog>(parent, text, std::move(onCancel));
}

Platform& Platform::current() { return installed ? *installed : systemPlatform(); }

void Platform::install(Platform* platform) { installed = platform; }

}  // namespace orcalc::ui
