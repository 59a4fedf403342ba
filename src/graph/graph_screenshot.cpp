#include "graph/graph_screenshot.h"

#include <QApplication>
#include <QPixmap>
#include <QString>
#include <cstdio>

#include "files/sheet_file.h"
#include "geometry/graph_command.h"
#include "graph/graph_window.h"

namespace orcalc::ui {

int takeGraphScreenshot(const QString& path) {
  const Sheet sheet = ReadSheetCsv(
                          ",χ1 系数,χ2 系数,约束符号,常数项\n目标函数系数,3,2, ═ , Max \n"
                          "约束方程1,1,1, ≤ ,4\n约束方程2,1,3, ≤ ,6\n")
                          .sheet;
  lp::GraphCalculation calculation = lp::CalculateGraph({2, 2, lp::Sense::Maximise}, sheet);
  GraphWindow window(std::move(*calculation.geometry));
  window.show();
  for (int i = 0; i < 10; ++i) QApplication::processEvents();
  if (!window.grab().save(path, "PNG")) {
    std::fprintf(stderr, "orcalc: cannot write %s\n", qPrintable(path));
    return 1;
  }
  return 0;
}

}  // namespace orcalc::ui
