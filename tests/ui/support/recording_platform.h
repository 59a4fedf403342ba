// A platform that records instead of blocking: message boxes, beeps, save
// dialogs and modal windows, for the UI tests.
#pragma once

#include <QDialog>
#include <QIODevice>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>

#include "platform/platform.h"

namespace orcalc::ui::testing {

class RecordingPlatform : public Platform {
 public:
  RecordingPlatform() { Platform::install(this); }
  ~RecordingPlatform() override { Platform::install(nullptr); }

  // Every message box text, in order.
  QStringList messages;
  int beeps = 0;

  // The answer of the next save dialogs (empty: cancel), and what they were
  // asked with.
  QString nextSavePath;
  QList<SaveFileRequest> saveRequests;

  // The answer of the next open dialogs (empty: cancel), and what they were
  // asked with.
  QString nextOpenPath;
  QList<OpenFileRequest> openRequests;

  // The texts of the questions about unsaved changes, and the answer given.
  QStringList questions;
  SaveChangesAnswer nextAnswer = SaveChangesAnswer::Cancel;

  // Called with every modal window while it is "shown"; the window is then
  // closed (unless the handler closed it already). Modal windows opened from
  // inside the handler are handled the same way, recursively.
  std::function<void(QDialog*)> onModal;
  int modalCount = 0;

  // When set, file writes fail part-way with this reason (half the bytes
  // reach the file first), as on a full disk.
  std::optional<QString> failWrites;

  void showMessage(QWidget*, const QString& text) override { messages << text; }
  void beep() override { ++beeps; }
  QString chooseSaveFile(QWidget*, const SaveFileRequest& request) override {
    saveRequests << request;
    return nextSavePath;
  }
  QString chooseOpenFile(QWidget*, const OpenFileRequest& request) override {
    openRequests << request;
    return nextOpenPath;
  }
  SaveChangesAnswer askSaveChanges(QWidget*, const QString& text) override {
    questions << text;
    return nextAnswer;
  }
  void runModal(QDialog* dialog) override {
    ++modalCount;
    QPointer<QDialog> guard(dialog);
    dialog->setModal(true);
    dialog->show();
    if (onModal) onModal(dialog);
    if (guard && guard->isVisible()) guard->done(QDialog::Rejected);
  }
  bool writeBytes(QIODevice& file, const QByteArray& bytes, QString* reason) override {
    if (!failWrites) return Platform::writeBytes(file, bytes, reason);
    file.write(bytes.left(bytes.size() / 2));
    if (reason) *reason = *failWrites;
    return false;
  }
};

}  // namespace orcalc::ui::testing
