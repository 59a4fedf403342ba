// A platform that records instead of blocking: message boxes, beeps, save
// dialogs and modal windows, for the UI tests.
#pragma once

#include <QDialog>
#include <QPointer>
#include <QPrinter>
#include <QString>
#include <QStringList>
#include <cerrno>
#include <functional>
#include <memory>
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
  // The filter entry the dialog hands back with it (the first when empty).
  QString nextSaveFilter;
  // Questions whether a file may be replaced, and the answer given.
  QStringList replaceQuestions;
  bool replaceAnswer = false;
  QList<SaveFileRequest> saveRequests;

  // The answer of the next open dialogs (empty: cancel), and what they were
  // asked with.
  QString nextOpenPath;

  // The texts of the questions about unsaved changes, and the answer given.
  QStringList questions;
  SaveChangesAnswer nextAnswer = SaveChangesAnswer::Cancel;

  // Called with every modal window while it is "shown"; the window is then
  // closed (unless the handler closed it already). Modal windows opened from
  // inside the handler are handled the same way, recursively.
  std::function<void(QDialog*)> onModal;
  int modalCount = 0;

  // When set, file writes fail part-way with this errno (half the first
  // piece reaches the file first), as on a full disk.
  std::optional<int> failWritesWith;
  bool writeFailed = false;

  // Progress dialogs: how many opened, every text they showed (the first on
  // opening), whether one is open now, and its 取消 button while it is.
  int progressShows = 0;
  QStringList progressTexts;
  // Print dialogs asked (answered with `printAnswer`, printing to
  // `printToFile` as PDF when that is set) and previews shown.
  int printDialogs = 0;
  bool printAnswer = false;
  QString printToFile;
  int printPreviews = 0;
  bool progressOpen = false;
  std::function<void()> pressCancel;
  // Called right after a progress dialog opens.
  std::function<void()> onProgress;

  void showMessage(QWidget*, const QString& text) override { messages << text; }
  bool choosePrinter(QWidget*, QPrinter* printer) override {
    ++printDialogs;
    if (printAnswer && !printToFile.isEmpty()) {
      printer->setOutputFormat(QPrinter::PdfFormat);
      printer->setOutputFileName(printToFile);
    }
    return printAnswer;
  }
  void showPrintPreview(QWidget*, QPrinter*, const std::function<void(QPrinter*)>&) override {
    ++printPreviews;
  }
  void beep() override { ++beeps; }
  QString chooseSaveFile(QWidget*, const SaveFileRequest& request) override {
    saveRequests << request;
    if (request.chosenFilter)
      *request.chosenFilter =
          nextSaveFilter.isEmpty() ? request.filter.section(";;", 0, 0) : nextSaveFilter;
    return nextSavePath;
  }
  QString chooseOpenFile(QWidget*, const OpenFileRequest&) override { return nextOpenPath; }
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
  std::unique_ptr<ProgressDialog> showProgress(QWidget*, const QString& text,
                                               std::function<void()> onCancel) override {
    class Recorded : public ProgressDialog {
     public:
      explicit Recorded(RecordingPlatform& platform) : platform_(platform) {}
      ~Recorded() override {
        platform_.progressOpen = false;
        platform_.pressCancel = nullptr;
      }
      void setText(const QString& text) override { platform_.progressTexts << text; }

     private:
      RecordingPlatform& platform_;
    };
    ++progressShows;
    progressTexts << text;
    progressOpen = true;
    pressCancel = std::move(onCancel);
    auto dialog = std::make_unique<Recorded>(*this);
    if (onProgress) onProgress();
    return dialog;
  }
  bool askReplaceFile(QWidget*, const QString& path) override {
    replaceQuestions << path;
    return replaceAnswer;
  }
  long writeToFile(int fd, const char* data, std::size_t size) override {
    if (!failWritesWith) return Platform::writeToFile(fd, data, size);
    // The disk takes half of the first piece, then is full.
    if (!writeFailed && size > 1) {
      writeFailed = true;
      return Platform::writeToFile(fd, data, size / 2);
    }
    errno = *failWritesWith;
    return -1;
  }
};

}  // namespace orcalc::ui::testing
