// 打印…, 打印预览… and 导出PDF… for the windows that show a report or a
// picture: the print dialog and the preview through the platform (tests
// record them), the PDF through the one file writer.
#pragma once

#include <QString>
#include <functional>

class QAction;
class QPagedPaintDevice;
class QWidget;

namespace orcalc::ui {

struct PrintSource {
  QString title;  // the print job's and the PDF's title
  // Paints every page on the device; returns false, having painted
  // nothing, when there is nothing it can print (it has said why).
  std::function<bool(QPagedPaintDevice*)> paint;
};

// Asks for a printer and prints.
void printDocument(QWidget* parent, const PrintSource& source);
// Shows the pages in the print preview, from which they can be printed.
void previewDocument(QWidget* parent, const PrintSource& source);
// Asks for a file name (`rememberedPath` is offered and then holds the
// name chosen) and writes the pages there as PDF.
void exportPdf(QWidget* parent, const PrintSource& source, QString& rememberedPath);

// The three commands as actions of `window` (Ctrl+P prints while the
// window is active), for its menus; `source` is asked when one runs.
struct PrintActions {
  QAction* print = nullptr;    // 打印… (Ctrl+P)
  QAction* preview = nullptr;  // 打印预览…
  QAction* pdf = nullptr;      // 导出PDF…
};
PrintActions addPrintActions(QWidget* window, const std::function<PrintSource()>& source);

}  // namespace orcalc::ui
