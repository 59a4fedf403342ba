// The last sheet of each kind of sheet window, kept in a file in the user's
// data folder so that no sheet is lost: not when its window closes, not when
// the program is killed. The file is a sheet file as 保存表格 writes it.
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>
#include <chrono>
#include <functional>
#include <optional>
#include <string>

namespace orcalc::ui {

// Where the last sheet of `kind` ("lp", "goal") is kept; empty when the
// system names no data folder.
QString recoveryFilePath(const QString& kind);

class SheetRecovery : public QObject {
  Q_OBJECT

 public:
  // How long after a change the sheet is written at the latest.
  static constexpr std::chrono::milliseconds kWriteDelay{30'000};

  // The window's sheet as a sheet file, or nothing while it has no sheet
  // worth keeping.
  using SheetBytes = std::function<std::optional<std::string>()>;

  SheetRecovery(const QString& kind, SheetBytes sheetBytes, QObject* parent);

  QString path() const { return recoveryFilePath(kind_); }
  // Whether a sheet of this kind is kept.
  bool available() const;

  // The sheet changed: it is written within the delay, and at most once a
  // delay however often it changes.
  void changed();
  // Writes the sheet now (a window closing, a calculation). A sheet that
  // cannot be written (a full disk) is not kept, without a message: the
  // window goes on as before.
  void writeNow();

  // The delay of `changed`, shorter in tests.
  void setWriteDelay(std::chrono::milliseconds delay) { timer_.setInterval(delay); }

 signals:
  void written();

 private:
  QString kind_;
  SheetBytes sheetBytes_;
  QTimer timer_;
};

}  // namespace orcalc::ui
