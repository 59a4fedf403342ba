#include "results/results_window.h"

#include <Qsci/qsciscintilla.h>

#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QPointer>
#include <QPushButton>
#include <memory>
#include <new>

#include "platform/ansi_file.h"
#include "platform/platform.h"
#include "platform/twips.h"
#include "printing/page_painting.h"
#include "results/report_font.h"

namespace orcalc::ui {
namespace {

const char* const kDesignTitle = "线性规划计算结果";
// The save dialog's two entries: a description (the dialog shows it alone)
// and the pattern behind it.
const char* const kSaveFilter = "文件文件(*.TXT) (*.TXT);;DAT 文件(*.DAT) (*.dat)";

// A report loads in parts of about this size (some 10 ms each), so that
// the progress dialog's 取消 is heard between them.
constexpr std::size_t kReportPartBytes = std::size_t{4} << 20;

// Margins of the resize rule, in twips.
constexpr int kWidthMargin = 300;
constexpr int kHeightMargin = 1200;

}  // namespace

ResultsWindow::ResultsWindow(QWidget* parent) : QDialog(parent, ownedWindowFlags(parent)) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(QString::fromUtf8(kDesignTitle));
  resize(twipsToPixelsX(9030, this), twipsToPixelsY(6810, this));

  // reportBox_ is created first: it leads the keyboard order and has the focus
  // when the window opens.
  reportBox_ = new QsciScintilla(this);
  reportBox_->setObjectName(QStringLiteral("Text1"));
  reportBox_->setGeometry(twipsRect(120, 720, 8895, 6015, this));
  // A document without style bytes: a report has one style, and a style byte
  // per character would double the memory a long report takes. The document
  // comes first: code page and line-end mode belong to it.
  const long document =
      reportBox_->SendScintilla(QsciScintillaBase::SCI_CREATEDOCUMENT, 0UL,
                                long{QsciScintillaBase::SC_DOCUMENTOPTION_STYLES_NONE});
  reportBox_->SendScintilla(QsciScintillaBase::SCI_SETDOCPOINTER, 0UL, document);
  reportBox_->SendScintilla(QsciScintillaBase::SCI_RELEASEDOCUMENT, 0UL, document);
  // A plain text box: no lexer, margins, folding or wrapping; both scroll
  // bars; CR LF line ends for new lines, the report's own ends kept.
  reportBox_->setUtf8(true);
  reportBox_->setLexer(nullptr);
  reportBox_->setMargins(0);
  reportBox_->setFolding(QsciScintilla::NoFoldStyle);
  reportBox_->setWrapMode(QsciScintilla::WrapNone);
  reportBox_->setEolMode(QsciScintilla::EolWindows);
  reportBox_->setEolVisibility(false);
  reportBox_->setFont(reportFont(font()));
  reportBox_->SendScintilla(QsciScintillaBase::SCI_SETHSCROLLBAR, 1UL);
  reportBox_->SendScintilla(QsciScintillaBase::SCI_SETVSCROLLBAR, 1UL);
  reportBox_->SendScintilla(QsciScintillaBase::SCI_SETSCROLLWIDTH, 1UL);
  reportBox_->SendScintilla(QsciScintillaBase::SCI_SETSCROLLWIDTHTRACKING, 1UL);

  panel_ = new QGroupBox(this);
  panel_->setObjectName(QStringLiteral("Frame1"));
  panel_->setGeometry(twipsRect(120, 0, 8895, 615, this));

  titleLabel_ = new QLabel(QString::fromUtf8(kDesignTitle), panel_);
  titleLabel_->setObjectName(QStringLiteral("Label1"));
  titleLabel_->setGeometry(twipsRect(240, 240, 1935, 255, this));

  saveButton_ = new QPushButton(QStringLiteral("保 存"), panel_);
  saveButton_->setObjectName(QStringLiteral("Command2"));
  saveButton_->setGeometry(twipsRect(6480, 120, 735, 375, this));

  okButton_ = new QPushButton(QStringLiteral("确 定"), panel_);
  okButton_->setObjectName(QStringLiteral("Command1"));
  okButton_->setGeometry(twipsRect(7320, 120, 855, 375, this));

  setTabOrder(reportBox_, okButton_);
  setTabOrder(okButton_, saveButton_);
  reportBox_->setFocus();
  // The box would keep Tab for itself: the keyboard could never leave it.
  reportBox_->installEventFilter(this);

  connect(okButton_, &QPushButton::clicked, this, &QWidget::close);
  connect(saveButton_, &QPushButton::clicked, this, &ResultsWindow::save);

  // 打印…, 打印预览… and 导出PDF…: on the box's right-click menu, and Ctrl+P.
  printActions_ = addPrintActions(this, [this] { return printSource(); });
  reportBox_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(reportBox_, &QWidget::customContextMenuRequested, this, &ResultsWindow::showReportMenu);
}

ResultsWindow::~ResultsWindow() = default;

void ResultsWindow::setTitle(const QString& title) {
  setWindowTitle(title);
  titleLabel_->setText(title);
}

void ResultsWindow::setReportText(const std::string& utf8) {
  beginReportText();
  std::size_t loaded = 0;
  while (!loadReportPart(utf8, loaded, utf8.size())) {
  }
}

void ResultsWindow::beginReportText() {
  // Loading is not an edit the user could undo.
  reportBox_->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 0UL);
  // No change notifications while loading: each one would make a UTF-16 copy
  // of the whole inserted text for accessibility.
  loading_event_mask_ = reportBox_->SendScintilla(QsciScintillaBase::SCI_GETMODEVENTMASK);
  reportBox_->SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK, 0UL);
  reportBox_->SendScintilla(QsciScintillaBase::SCI_CLEARALL);
}

bool ResultsWindow::loadReportPart(std::string_view utf8, std::size_t& loaded,
                                   std::size_t part_bytes) {
  std::size_t end = utf8.size();
  if (utf8.size() - loaded > part_bytes) {
    // Up to a line end, so that no character is cut in two; a line longer
    // than a part goes whole.
    end = utf8.rfind('\n', loaded + part_bytes - 1);
    if (end == std::string_view::npos || end < loaded) end = utf8.find('\n', loaded + part_bytes);
    end = end == std::string_view::npos ? utf8.size() : end + 1;
  }
  reportBox_->SendScintilla(QsciScintillaBase::SCI_APPENDTEXT,
                            static_cast<unsigned long>(end - loaded), utf8.data() + loaded);
  loaded = end;
  if (loaded < utf8.size()) return false;
  reportBox_->SendScintilla(QsciScintillaBase::SCI_SETMODEVENTMASK,
                            static_cast<unsigned long>(loading_event_mask_));
  reportBox_->SendScintilla(QsciScintillaBase::SCI_EMPTYUNDOBUFFER);
  reportBox_->SendScintilla(QsciScintillaBase::SCI_SETUNDOCOLLECTION, 1UL);
  reportBox_->SendScintilla(QsciScintillaBase::SCI_GOTOPOS, 0UL);
  return true;
}

QByteArray ResultsWindow::reportBytes() const {
  const long length = reportBox_->SendScintilla(QsciScintillaBase::SCI_GETLENGTH);
  // Room for the terminating NUL whichever way the length is counted.
  QByteArray bytes(length + 2, Qt::Uninitialized);
  reportBox_->SendScintilla(QsciScintillaBase::SCI_GETTEXT, static_cast<unsigned long>(length + 1),
                            bytes.data());
  bytes.truncate(length);
  return bytes;
}

PrintSource ResultsWindow::printSource() const {
  QFont font = reportBox_->font();
  font.setPointSizeF(9);
  return {windowTitle(), [this, font](QPagedPaintDevice* device) {
            const QString text = QString::fromUtf8(reportBytes());
            const int lines = lineCount(text);
            if (lines > kMostPrintedLines) {
              Platform::current().showMessage(
                  const_cast<ResultsWindow*>(this),
                  QStringLiteral("报告有 %1 行，超过可打印的 %2 行；请先保存为文件。")
                      .arg(lines)
                      .arg(kMostPrintedLines));
              return false;
            }
            paintTextPages(device, text, font);
            return true;
          }};
}

void ResultsWindow::showReportMenu(const QPoint& position) {
  // Shown as the box shows its own: popped up, gone (and deleted) when closed.
  QMenu* menu = reportBox_->createStandardContextMenu();
  menu->setAttribute(Qt::WA_DeleteOnClose);
  menu->addSeparator();
  menu->addAction(printActions_.print);
  menu->addAction(printActions_.preview);
  menu->addAction(printActions_.pdf);
  menu->popup(reportBox_->mapToGlobal(position));
}

void ResultsWindow::save() {
  SaveFileRequest request;
  request.filter = QString::fromUtf8(kSaveFilter);
  request.initialPath = saved_path_;
  const QString path = Platform::current().chooseSaveFile(this, request);
  if (path.isEmpty()) return;  // cancelled: nothing is written
  saved_path_ = path;

  FileWriteResult result;
  try {
    // The box's own text, converted and written piece by piece.
    const auto length =
        static_cast<size_t>(reportBox_->SendScintilla(QsciScintillaBase::SCI_GETLENGTH));
    // NOLINTNEXTLINE(performance-no-int-to-ptr): Scintilla answers with the address
    const auto* text = reinterpret_cast<const char*>(
        reportBox_->SendScintilla(QsciScintillaBase::SCI_GETCHARACTERPOINTER));
    result = WriteAnsiFileAtomically(path, std::string_view(text, length));
  } catch (const std::bad_alloc&) {
    // The memory ran out on the way: nothing replaced the old file.
    result.ok = false;
    result.reason = QStringLiteral("内存不足");
  }
  if (!result.ok) {
    Platform::current().showMessage(
        this,
        QStringLiteral("无法保存文件“%1”：%2").arg(QDir::toNativeSeparators(path), result.reason));
  }
}

std::unique_ptr<ResultsWindow> ResultsWindow::loadReport(QWidget* parent, const std::string& title,
                                                         const std::string& report,
                                                         const std::function<bool()>& between) {
  // Owned here until it is shown: a window whose report cannot be loaded
  // (the memory ran out, or the user cancelled) goes instead of staying
  // behind, hidden, with its half-loaded report.
  auto window = std::make_unique<ResultsWindow>(parent);
  window->setAttribute(Qt::WA_DeleteOnClose);
  if (!title.empty()) window->setTitle(QString::fromStdString(title));
  window->beginReportText();
  std::size_t loaded = 0;
  while (!window->loadReportPart(report, loaded, kReportPartBytes)) {
    if (!between()) return nullptr;
  }
  return window;
}

void ResultsWindow::showLoaded(std::unique_ptr<ResultsWindow> window) {
  QPointer<ResultsWindow> form = window.get();  // may allocate: before the release
  // Qt deletes it when it is closed (loadReport set WA_DeleteOnClose).
  static_cast<void>(window.release());
  Platform::current().runModal(form);
}

void ResultsWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  applyResizeRule();
}

void ResultsWindow::applyResizeRule() {
  const QRect outer = frameGeometry();
  const int w = pixelsToTwipsX(outer.width(), this);
  const int h = pixelsToTwipsY(outer.height(), this);
  // Below the margins (a minimised window) the last sizes stay.
  if (w < kWidthMargin || h < kHeightMargin) return;
  const int width = twipsToPixelsX(w - kWidthMargin, this);
  reportBox_->resize(width, twipsToPixelsY(h - kHeightMargin, this));
  panel_->resize(width, panel_->height());
}

bool ResultsWindow::moveFocusOnTab(const QKeyEvent& event) {
  const Qt::KeyboardModifiers others =
      event.modifiers() & ~(Qt::ShiftModifier | Qt::ControlModifier | Qt::KeypadModifier);
  if (others != Qt::NoModifier) return false;
  const bool backward = event.key() == Qt::Key_Backtab ||
                        (event.key() == Qt::Key_Tab && (event.modifiers() & Qt::ShiftModifier));
  if (event.key() != Qt::Key_Tab && event.key() != Qt::Key_Backtab) return false;
  focusNextPrevChild(!backward);
  return true;
}

void ResultsWindow::keyPressEvent(QKeyEvent* event) {
  // Escape does not close the window: only OK and the close box do.
  if (event->key() == Qt::Key_Escape) {
    event->ignore();
    return;
  }
  // Ctrl+Tab on a button, which buttons leave to the window.
  if (moveFocusOnTab(*event)) return;
  QDialog::keyPressEvent(event);
}

bool ResultsWindow::eventFilter(QObject* watched, QEvent* event) {
  if (watched == reportBox_ && event->type() == QEvent::KeyPress &&
      moveFocusOnTab(*static_cast<QKeyEvent*>(event))) {
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

}  // namespace orcalc::ui
