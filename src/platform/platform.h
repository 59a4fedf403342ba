// The effects that must not block or touch the system in tests: message
// boxes, the beep, the save-file dialog and modal windows. The program uses
// the real implementation; tests install a recorder.
#pragma once

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

class QDialog;
class QIODevice;
class QWidget;

namespace orcalc::ui {

// The application's title: the caption of every message box.
inline const char* const kApplicationTitle = "运筹学计算程序";

// The dialog shown while a long calculation runs: caption "正在计算", a line
// of text and a 取消 button (Escape presses it). It stays open, modal, until
// the object is destroyed.
class ProgressDialog {
 public:
  virtual ~ProgressDialog() = default;
  virtual void setText(const QString& text) = 0;
};

struct SaveFileRequest {
  QString filter;       // "desc (*.a)|*.a|..." is not used: Qt filter text
  QString initialPath;  // the name remembered from the last save, or empty
};

class Platform {
 public:
  virtual ~Platform() = default;

  // A modal box with `text`, an OK button only, no icon, and the
  // application's title as caption; returns when it is closed.
  virtual void showMessage(QWidget* parent, const QString& text) = 0;
  // The system beep.
  virtual void beep() = 0;
  // The save-file dialog; returns the chosen path, or an empty text when
  // the user cancelled.
  virtual QString chooseSaveFile(QWidget* parent, const SaveFileRequest& request) = 0;
  // Shows `dialog` modally and returns when it has been closed.
  virtual void runModal(QDialog* dialog) = 0;
  // Writes `bytes` into the open `file` in one piece. On failure returns
  // false with the reason in `reason`. Tests replace it to stand in for a
  // device that fails part-way, such as a full disk.
  virtual bool writeBytes(QIODevice& file, const QByteArray& bytes, QString* reason);
  // Opens the progress dialog over `parent` with `text` and returns at once;
  // `onCancel` runs (on this thread) when the user cancels. Tests replace it
  // to see the dialog and to press 取消.
  virtual std::unique_ptr<ProgressDialog> showProgress(QWidget* parent, const QString& text,
                                                       std::function<void()> onCancel);

  // The implementation in force (the real one unless a test installed
  // another). Install takes no ownership; nullptr restores the real one.
  static Platform& current();
  static void install(Platform* platform);
};

}  // namespace orcalc::ui
