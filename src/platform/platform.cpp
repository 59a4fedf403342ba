#include "platform/platform.h"

#include <unistd.h>

#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QIODevice>
#include <QMessageBox>
#include <QPointer>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QProgressDialog>
#include <QPushButton>

#include "platform/window_placement.h"

namespace orcalc::ui {
namespace {

// Wide enough that the window system can show the whole caption (the
// program's title) beside its buttons: a box as narrow as its text cut
// it to "运…".
void fitCaption(QMessageBox& box) {
  const QFontMetrics metrics(QApplication::font("QWorkspaceTitleBar"));
  // The caption, and room for the window's icon and its title-bar buttons.
  const int width = metrics.horizontalAdvance(box.windowTitle()) + 160;
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout())) {
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed),
                  grid->rowCount(), 0, 1, grid->columnCount());
  }
}

// Shows a message box modally: wide enough for its caption, fully on the
// screen over its owner.
void showBox(QMessageBox& box, QWidget* parent) {
  fitCaption(box);
  placeOverOwner(&box, parent);
  box.exec();
}

class SystemPlatform final : public Platform {
 public:
  void showMessage(QWidget* parent, const QString& text) override {
    QMessageBox box(QMessageBox::NoIcon, QString::fromUtf8(kApplicationTitle), text,
                    QMessageBox::Ok, parent);
    showBox(box, parent);
  }

  void beep() override { QApplication::beep(); }

  QString chooseSaveFile(QWidget* parent, const SaveFileRequest& request) override {
    // No title, no default suffix, no overwrite question: the name typed is
    // the name used.
    QFileDialog dialog(parent, QString(), request.initialPath, request.filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    QFileDialog::Options options;
    if (request.hideFilterPatterns) options |= QFileDialog::HideNameFilterDetails;
    if (!request.confirmOverwrite) options |= QFileDialog::DontConfirmOverwrite;
    dialog.setOptions(options);
    // The files by name: the detail columns (size, type, date) follow the
    // system's locale, not the program's language.
    dialog.setViewMode(QFileDialog::List);
    placeOverOwner(&dialog, parent);
    if (dialog.exec() != QDialog::Accepted) return QString();
    if (request.chosenFilter) *request.chosenFilter = dialog.selectedNameFilter();
    return dialog.selectedFiles().value(0);
  }

  void runModal(QDialog* dialog) override {
    placeOverOwner(dialog, dialog->parentWidget());
    dialog->exec();
  }
};

SystemPlatform& systemPlatform() {
  static SystemPlatform platform;
  return platform;
}

Platform* installed = nullptr;

}  // namespace

QString Platform::chooseOpenFile(QWidget* parent, const OpenFileRequest& request) {
  QFileDialog dialog(parent, QString(), request.initialPath, request.filter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  placeOverOwner(&dialog, parent);
  if (dialog.exec() != QDialog::Accepted) return QString();
  return dialog.selectedFiles().value(0);
}

SaveChangesAnswer Platform::askSaveChanges(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::Question, QString::fromUtf8(kApplicationTitle), text,
                  QMessageBox::NoButton, parent);
  QPushButton* save = box.addButton(QStringLiteral("保存"), QMessageBox::AcceptRole);
  QPushButton* discard = box.addButton(QStringLiteral("不保存"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
  box.setDefaultButton(save);
  box.setEscapeButton(cancel);
  showBox(box, parent);
  if (box.clickedButton() == save) return SaveChangesAnswer::Save;
  if (box.clickedButton() == discard) return SaveChangesAnswer::Discard;
  return SaveChangesAnswer::Cancel;
}

bool Platform::askReplaceFile(QWidget* parent, const QString& path) {
  QMessageBox box(
      QMessageBox::Question, QString::fromUtf8(kApplicationTitle),
      QStringLiteral("文件“%1”已经存在，要替换它吗？").arg(QDir::toNativeSeparators(path)),
      QMessageBox::NoButton, parent);
  QPushButton* replace = box.addButton(QStringLiteral("替换"), QMessageBox::DestructiveRole);
  QPushButton* cancel = box.addButton(QStringLiteral("取消"), QMessageBox::RejectRole);
  // Enter keeps the file.
  box.setDefaultButton(cancel);
  box.setEscapeButton(cancel);
  showBox(box, parent);
  return box.clickedButton() == replace;
}

Qt::WindowFlags ownedWindowFlags(const QWidget* owner) {
  if (!owner) return Qt::Window;
  return Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
         Qt::WindowCloseButtonHint;
}

bool Platform::choosePrinter(QWidget* parent, QPrinter* printer) {
  QPrintDialog dialog(printer, parent);
  placeOverOwner(&dialog, parent);
  return dialog.exec() == QDialog::Accepted;
}

void Platform::showPrintPreview(QWidget* parent, QPrinter* printer,
                                const std::function<void(QPrinter*)>& paint) {
  QPrintPreviewDialog dialog(printer, parent);
  QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, paint);
  dialog.resize(900, 760);
  placeOverOwner(&dialog, parent);
  dialog.exec();
}

long Platform::writeToFile(int fd, const char* data, std::size_t size) {
  return static_cast<long>(::write(fd, data, size));
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
    placeOverOwner(dialog_, parent);
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
