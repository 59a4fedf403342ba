// The window of the graphical method (图解法): the picture of a
// two-variable linear program, following the window's size, with a command
// that saves it as PNG or SVG. Opened modally over the sheet window and
// destroyed when closed.
#pragma once

#include <QDialog>
#include <QString>
#include <QWidget>

#include "common/sheet.h"
#include "geometry/graph_geometry.h"
#include "integer/variable_types.h"
#include "lp/lp_commands.h"
#include "printing/print_commands.h"

class QPushButton;

namespace orcalc::ui {

// Draws the picture over its whole area.
class GraphView : public QWidget {
  Q_OBJECT

 public:
  GraphView(const lp::GraphGeometry& geometry, QWidget* parent);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const lp::GraphGeometry& geometry_;
};

class GraphWindow : public QDialog {
  Q_OBJECT

 public:
  explicit GraphWindow(lp::GraphGeometry geometry, QWidget* parent = nullptr);

  const lp::GraphGeometry& geometry() const { return geometry_; }

  // 保存图片…: asks for a file name and writes the picture as shown, as SVG
  // when the name ends in ".svg" and as PNG otherwise.
  void saveImage();
  // The picture as the window shows it, for 打印… and 导出PDF….
  PrintSource printSource() const;

  GraphView* view = nullptr;
  QPushButton* saveImageButton = nullptr;
  QPushButton* printButton = nullptr;  // 打印…, with the print commands
  QPushButton* closeButton = nullptr;
  PrintActions printActions;

 private:
  const lp::GraphGeometry geometry_;
  QString saved_path_;  // the name chosen last, offered again
};

// Whether 图解法 can run: the variable count box reads 2 and the sheet has
// been laid out (计算 is enabled).
bool graphMethodAvailable(const QString& variableCountText, bool sheetLaidOut);

// 图解法: reads the sheet as 计算 does (m variables, n constraints, the
// sense, the variables' types: with a whole-number one the picture marks
// the whole-number points and the best of them); a cell too large for a double shows its message
// and nothing else. Otherwise opens the picture modally over `owner` and returns when it is closed.
// Running out of memory throws std::bad_alloc, as 计算 does.
void showGraphWindow(QWidget* owner, const Sheet& sheet, int variables, int constraints,
                     lp::Sense sense, const std::vector<integer::VariableType>& types = {});

}  // namespace orcalc::ui
