#include "printing/print_commands.h"

#include <QAction>
#include <QBuffer>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QPrinter>
#include <QWidget>
#include <memory>

#include "platform/file_export.h"
#include "platform/platform.h"
#include "printing/pdf_text_map.h"
#include "results/report_font.h"

namespace orcalc::ui {
namespace {

const char* const kPdfFilter = "PDF 文件 (*.pdf)";
const char* const kApplication = "运筹学计算程序";

QPageLayout a4Layout() {
  return {QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(15, 15, 15, 15),
          QPageLayout::Millimeter};
}

// The printer the dialogs start from: A4 at the printer's resolution.
std::unique_ptr<QPrinter> newPrinter(const PrintSource& source) {
  auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
  printer->setPageLayout(a4Layout());
  printer->setDocName(source.title);
  printer->setCreator(QString::fromUtf8(kApplication));
  return printer;
}

// The document as PDF bytes; empty when the source printed nothing.
QByteArray pdfBytes(const PrintSource& source) {
  QBuffer buffer;
  buffer.open(QIODevice::WriteOnly);
  bool painted = false;
  {
    QPdfWriter writer(&buffer);
    writer.setPageLayout(a4Layout());
    writer.setResolution(300);
    writer.setTitle(source.title);
    writer.setCreator(QString::fromUtf8(kApplication));
    painted = source.paint(&writer);
  }
  if (!painted) return {};
  // The radicals the CJK face shares with ideographs (the report's face
  // stands for the others: they share the same ones) read as ideographs.
  static const QHash<char16_t, char16_t> kIdeographs = RadicalIdeographs(reportFont(QFont()));
  QByteArray bytes = buffer.data();
  RenameCodePoints(bytes, kIdeographs);
  return bytes;
}

}  // namespace

void printDocument(QWidget* parent, const PrintSource& source) {
  const std::unique_ptr<QPrinter> printer = newPrinter(source);
  if (!Platform::current().choosePrinter(parent, printer.get())) return;
  source.paint(printer.get());
}

void previewDocument(QWidget* parent, const PrintSource& source) {
  const std::unique_ptr<QPrinter> printer = newPrinter(source);
  Platform::current().showPrintPreview(parent, printer.get(),
                                       [&](QPrinter* device) { source.paint(device); });
}

void exportPdf(QWidget* parent, const PrintSource& source, QString& rememberedPath) {
  FileExport what;
  what.filter = QString::fromUtf8(kPdfFilter);
  what.initialPath = rememberedPath;
  what.endings = {QStringLiteral(".pdf")};
  what.ending = QStringLiteral(".pdf");
  exportFile(parent, what, rememberedPath, [&source](const QString&) -> std::optional<QByteArray> {
    QByteArray bytes = pdfBytes(source);
    if (bytes.isEmpty()) return std::nullopt;  // the source has said why
    return bytes;
  });
}

PrintActions addPrintActions(QWidget* window, const std::function<PrintSource()>& source) {
  PrintActions actions;
  actions.print = new QAction(QStringLiteral("打印…"), window);
  actions.print->setObjectName(QStringLiteral("printAction"));
  actions.print->setShortcut(QKeySequence::Print);
  actions.print->setShortcutContext(Qt::WindowShortcut);
  actions.preview = new QAction(QStringLiteral("打印预览…"), window);
  actions.preview->setObjectName(QStringLiteral("printPreviewAction"));
  actions.pdf = new QAction(QStringLiteral("导出PDF…"), window);
  actions.pdf->setObjectName(QStringLiteral("exportPdfAction"));
  window->addAction(actions.print);
  window->addAction(actions.preview);
  window->addAction(actions.pdf);
  // Shared by the PDF command's calls: the name chosen last.
  auto pdfPath = std::make_shared<QString>();
  QObject::connect(actions.print, &QAction::triggered, window,
                   [window, source] { printDocument(window, source()); });
  QObject::connect(actions.preview, &QAction::triggered, window,
                   [window, source] { previewDocument(window, source()); });
  QObject::connect(actions.pdf, &QAction::triggered, window,
                   [window, source, pdfPath] { exportPdf(window, source(), *pdfPath); });
  return actions;
}

}  // namespace orcalc::ui
