// The results window: one finished report as plain text in an editable box,
// with a save command. Opened modally by the command that produced the
// report and destroyed when closed.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>
#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "printing/print_commands.h"

class QGroupBox;
class QLabel;
class QPushButton;
class QsciScintilla;

namespace orcalc::ui {

class ResultsWindow : public QDialog {
  Q_OBJECT

 public:
  explicit ResultsWindow(QWidget* parent = nullptr);
  ~ResultsWindow() override;

  // The window caption and the title label, always set together.
  void setTitle(const QString& title);
  // The whole report (UTF-8, lines separated by CR LF) into the box; the
  // line ends are kept as they are.
  void setReportText(const std::string& utf8);
  // The same a part at a time, so that the caller can handle events between
  // parts: beginReportText(), then loadReportPart() until it returns true.
  // Each part is about `part_bytes` long and ends after a line end (or with
  // the text); `loaded` counts the bytes loaded so far.
  void beginReportText();
  bool loadReportPart(std::string_view utf8, std::size_t& loaded, std::size_t part_bytes);
  // The box's current text, edits included, as UTF-8.
  QByteArray reportBytes() const;

  // The save command: asks for a file name and writes the box's text there.
  void save();

  // The hand-off, in two steps: a fresh window with `title` (empty keeps the
  // design title) and the report loaded a part at a time, `between` called after each part but the
  // last; when it returns false the loading is given up and nothing is returned (the window goes
  // unseen). Then showLoaded() shows it modally.
  static std::unique_ptr<ResultsWindow> loadReport(QWidget* parent, const std::string& title,
                                                   const std::string& report,
                                                   const std::function<bool()>& between);
  static void showLoaded(std::unique_ptr<ResultsWindow> window);

  // The controls (objectNames Frame1, Label1, Command2, Command1, Text1, as
  // the window's design names them).
  QGroupBox* panel() const { return panel_; }
  QLabel* titleLabel() const { return titleLabel_; }
  QPushButton* saveButton() const { return saveButton_; }  // 保 存
  QPushButton* okButton() const { return okButton_; }      // 确 定
  QsciScintilla* reportBox() const { return reportBox_; }
  // 打印… (Ctrl+P), 打印预览…, 导出PDF… of the box's text, as it is now.
  const PrintActions& printActions() const { return printActions_; }
  PrintSource printSource() const;

 protected:
  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void applyResizeRule();
  // The box's right-click menu: its own commands, then the print commands.
  void showReportMenu(const QPoint& position);
  // Tab, Shift+Tab, Ctrl+Tab and Ctrl+Shift+Tab move the focus along the
  // keyboard order (true when `event` is one of them and was used).
  bool moveFocusOnTab(const QKeyEvent& event);

  QGroupBox* panel_ = nullptr;
  QLabel* titleLabel_ = nullptr;
  QPushButton* saveButton_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QsciScintilla* reportBox_ = nullptr;
  PrintActions printActions_;
  QString saved_path_;           // the name chosen last, offered again
  long loading_event_mask_ = 0;  // the box's own, while a report loads
};

}  // namespace orcalc::ui
