// The file side of a sheet window: opening a sheet file (from the dialog,
// the recent list or a drop), saving it, restoring the last sheet, the
// question about unsaved changes, and the file's name in the caption. The
// window owns one and keeps the sheet itself: what fits its layout, how the
// cells are filled, the undo steps.
#pragma once

#include <QObject>
#include <QString>
#include <functional>
#include <string>

#include "app/sheet_file_history.h"
#include "app/sheet_files.h"
#include "common/sheet.h"

class QDragEnterEvent;
class QDropEvent;
class QMenu;
class QWidget;

namespace orcalc::ui {

class SheetRecovery;

class SheetFileCommands : public QObject {
  Q_OBJECT

 public:
  // What the file commands need of the window that owns them.
  struct Window {
    // The window: parent of the dialogs and messages, its caption shows the
    // file.
    QWidget* widget = nullptr;
    QString caption;     // the window's own caption
    QString recentKind;  // the kind of sheet, for the recent list: "lp", "goal"
    // Commits an open cell editor.
    std::function<void()> closeEditors;
    // Whether a sheet is laid out: there is nothing to save before.
    std::function<bool()> laidOut;
    // The sheet as a file records it.
    std::function<std::string()> fileBytes;
    // Puts the sheet read in place of the window's as one undo step named
    // `step`, the sheet then belonging to `file`; or, changing nothing,
    // returns why it does not fit this window.
    std::function<QString(const SheetFileRead& read, const QString& step, const QString& file)>
        takeSheet;
  };

  SheetFileCommands(Window window, SheetRecovery& recovery, QObject* parent);

  // The sheet file the window's sheet came from or was saved to last (empty
  // when none), and whether the sheet differs from it now.
  QString path() const { return history_.path(); }
  bool hasUnsavedChanges() const;

  // open and openFile ask about unsaved changes first; openFile, save and
  // saveAs return whether the sheet was opened or saved.
  void open();
  bool openFile(const QString& path);
  bool save();
  bool saveAs();
  // The kept sheet in place of this one, as one undo step; it belongs to no
  // file.
  void restoreLast();
  // Asks about unsaved changes; false when the user cancels (or saving
  // failed).
  bool mayDiscardChanges();

  // The recent sheets, numbered, as the menu's items.
  void fillRecentMenu(QMenu* menu);

  // A single local .csv file dragged over the window or dropped on it.
  void dragEnter(QDragEnterEvent* event);
  void drop(QDropEvent* event);

  // The undo history, told by the window: a step pushed at `index` leaves a
  // sheet belonging to `file`; undo, redo or a push reached `index`.
  void stepPushed(int index, const QString& file);
  void reach(int index);

  // The caption: the window's own, and the name of the sheet's file with
  // the mark of unsaved changes.
  void showInCaption();

 private:
  bool load(const QString& path);
  bool write(const QString& path);
  // Says so and returns false when no sheet is laid out yet.
  bool readyToSave();
  // Reads `source` and has the window take its sheet as the step `step`,
  // belonging to `file` (none when empty). Otherwise shows the message
  // `refusal` makes of the reason.
  bool takeSheetFrom(const QString& source, const QString& file, const QString& step,
                     const std::function<QString(const QString& why)>& refusal);
  void connectToFile(const QString& path, std::string bytes);

  const Window window_;
  SheetRecovery& recovery_;
  SheetFileHistory history_;
};

}  // namespace orcalc::ui
