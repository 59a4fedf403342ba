// The effects that must not block or touch the system in tests: message
// boxes, the beep, the save-file dialog and modal windows. The program uses
// the real implementation; tests install a recorder.
#pragma once

#include <QByteArray>
#include <QString>
#include <Qt>
#include <cstddef>
#include <functional>
#include <memory>

class QDialog;
class QPrinter;
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
  // Qt filter text, "description (patterns);;...": the dialog shows each
  // entry by its description alone.
  QString filter;
  QString initialPath;  // the name remembered from the last save, or empty
  // Whether the dialog asks before an existing file is replaced.
  bool confirmOverwrite = false;
  // Whether the filter list shows descriptions alone ("表格文件") or with
  // their patterns ("表格文件 (*.csv)").
  bool hideFilterPatterns = true;
  // When set, receives the filter entry chosen (as written in `filter`).
  QString* chosenFilter = nullptr;
};

struct OpenFileRequest {
  QString filter;       // Qt filter text
  QString initialPath;  // a file or folder to start in, or empty
};

// The answers to the question about unsaved changes.
enum class SaveChangesAnswer { Save, Discard, Cancel };

// The flags of a sizable window with the usual title-bar buttons. With an
// owner it is a dialog-type window, which the window system marks as the
// owner's (WM_TRANSIENT_FOR under X11): kept above it, without a taskbar
// entry of its own. Without one it is a plain top-level window.
Qt::WindowFlags ownedWindowFlags(const QWidget* owner);

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
  // The open-file dialog; returns the chosen path, or an empty text when
  // the user cancelled.
  virtual QString chooseOpenFile(QWidget* parent, const OpenFileRequest& request);
  // A modal box with `text` and the buttons 保存, 不保存 and 取消, with the
  // application's title as caption; closing it is 取消.
  virtual SaveChangesAnswer askSaveChanges(QWidget* parent, const QString& text);
  // A modal question whether the existing file `path` may be replaced,
  // with the buttons 替换 and 取消 (the default, and what closing it
  // means); true for 替换.
  virtual bool askReplaceFile(QWidget* parent, const QString& path);
  // Shows `dialog` modally and returns when it has been closed.
  virtual void runModal(QDialog* dialog) = 0;
  // Writes `size` bytes of `data` to the open file `fd` as write(2) does:
  // how many were written, or -1 with errno set. Every file the program
  // saves is written through it; tests replace it to stand in for a device
  // that fails part-way, such as a full disk.
  virtual long writeToFile(int fd, const char* data, std::size_t size);
  // The print dialog for `printer`: true when the user chose to print,
  // with `printer` set up as chosen.
  virtual bool choosePrinter(QWidget* parent, QPrinter* printer);
  // The print preview of the pages `paint` paints on `printer`, modal; it
  // can print them. Returns when it is closed.
  virtual void showPrintPreview(QWidget* parent, QPrinter* printer,
                                const std::function<void(QPrinter*)>& paint);
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
