#include "app/sheet_window.h"

#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <algorithm>
#include <new>

#include "about/about_box.h"
#include "app/count_box.h"
#include "app/form3.h"
#include "common/numeric_reading.h"
#include "platform/platform.h"
#include "results/form2.h"
#include "sheet/cell_editing.h"
#include "sheet/sheet_grid.h"
#include "sheet/twips.h"

namespace orcalc::ui {

const char* const kOutOfMemoryMessage = "内存不足，无法完成这项操作！表格中的数据没有改变。";

namespace {

// Margins of the resize rule, in twips.
constexpr int kWidthMargin = 300;
constexpr int kHeightMargin = 1800;

template <typename W>
W* place(W* widget, const char* name, const QRect& twips, QWidget* reference) {
  widget->setObjectName(QString::fromLatin1(name));
  widget->setGeometry(twipsRect(twips.x(), twips.y(), twips.width(), twips.height(), reference));
  return widget;
}

QPushButton* button(const char* name, const char* caption, const QRect& twips, QWidget* parent) {
  auto* b = place(new QPushButton(QString::fromUtf8(caption), parent), name, twips, parent);
  // Enter in a count box must not press a button.
  b->setAutoDefault(false);
  return b;
}

QLabel* label(const char* name, const char* caption, const QRect& twips, QWidget* parent) {
  return place(new QLabel(QString::fromUtf8(caption), parent), name, twips, parent);
}

int count(const QLineEdit* box) { return ReadCount(box->text().toStdString()); }

}  // namespace

SheetWindow::SheetWindow(const SheetWindowDesign& design, QWidget* parent)
    : QDialog(parent, Qt::Window), design_(design) {
  setWindowTitle(QString::fromUtf8(design.caption));
  resize(twipsToPixelsX(design.client_width, this), twipsToPixelsY(design.client_height, this));

  // The grid comes first in the keyboard order: it has the focus when the
  // window opens.
  MSFlexGrid1 = place(new SheetGrid(this), "MSFlexGrid1", design.grid, this);

  Frame1 = place(new QGroupBox(this), "Frame1", design.frame1, this);
  Label2 = label("Label2", "变量数:", design.label2, Frame1);
  Text2 = place(new QLineEdit(Frame1), "Text2", design.text2, Frame1);
  Label1 = label("Label1", "约束方程数:", design.label1, Frame1);
  Text1 = place(new QLineEdit(Frame1), "Text1", design.text1, Frame1);
  makeCountBox(Text2);
  makeCountBox(Text1);
  Text2->setText(QStringLiteral("5"));
  Text1->setText(QStringLiteral("6"));
  if (design.has_sense) {
    Label3 = label("Label3", "目标函数求:", design.label3, Frame1);
    Option1[1] = place(new QRadioButton(QStringLiteral("最小值"), Frame1), "Option1_1",
                       design.option1_1, Frame1);
    Option1[0] = place(new QRadioButton(QStringLiteral("最大值"), Frame1), "Option1_0",
                       design.option1_0, Frame1);
    Option1[1]->setChecked(true);
  }
  Command1 = button("Command1", "确定", design.command1, Frame1);
  Command2 = button("Command2", "计算", design.command2, Frame1);
  Command3 = button("Command3", "统计", design.command3, Frame1);
  if (design.has_sense) Command4 = button("Command4", "目标规划", design.command4, Frame1);
  Command5 = button("Command5", "关于", design.command5, Frame1);
  Command6 = button("Command6", "退出", design.command6, Frame1);

  // The floating editors, siblings of the grid; placed over a cell when
  // they open.
  Text8 = new QLineEdit(this);
  Text8->setObjectName(QStringLiteral("Text8"));
  Combo3 = new QComboBox(this);
  Combo3->setObjectName(QStringLiteral("Combo3"));
  Combo3->setEditable(true);
  const int from_right = design.sign_column_from_right;
  editing_ = new CellEditing(this, MSFlexGrid1, Text8, Combo3,
                             [from_right](int cols) { return cols - from_right; });

  MSFlexGrid1->setFocus();

  connect(Command1, &QPushButton::clicked, this, &SheetWindow::ok);
  connect(Command2, &QPushButton::clicked, this, &SheetWindow::calculate);
  connect(Command3, &QPushButton::clicked, this, &SheetWindow::statistics);
  if (Command4) connect(Command4, &QPushButton::clicked, this, &SheetWindow::openGoalProgramming);
  connect(Command5, &QPushButton::clicked, this, &SheetWindow::about);
  connect(Command6, &QPushButton::clicked, this, &QWidget::close);

  load();
}

SheetWindow::~SheetWindow() = default;

void SheetWindow::load() {
  editing_->loadItems();
  Command2->setEnabled(false);
}

void SheetWindow::ok() {
  guarded([this] {
    editing_->closeEditors();
    layOutSheet(count(Text2), count(Text1));
    Command2->setEnabled(true);
  });
}

void SheetWindow::calculate() {
  guarded([this] {
    std::optional<CalculationOutcome> outcome =
        runCalculationJob(this, prepareCalculation(count(Text2), count(Text1)));
    if (outcome) present(*outcome);
  });
}

void SheetWindow::statistics() {
  guarded([this] {
    stats::StatsRequest request;
    request.column = editing_->gCol();
    request.count = count(Text1);
    request.kind = design_.sheet_kind;
    request.decimal_separator = decimalSeparator();
    const Sheet& sheet = MSFlexGrid1->sheet();
    std::optional<CalculationOutcome> outcome = runCalculationJob(
        this, [request, &sheet](Progress&) { return stats::Calculate(request, sheet); });
    if (outcome) present(*outcome);
  });
}

void SheetWindow::openGoalProgramming() {
  // A fresh window each time: an empty sheet and Calculate disabled.
  Form3 form(this);
  Platform::current().runModal(&form);
}

void SheetWindow::about() { showAboutBox(this); }

std::string SheetWindow::decimalSeparator() {
  const std::string separator = QLocale().decimalPoint().toStdString();
  // Plain number text takes a separator of at most four bytes.
  if (separator.empty() || separator.size() > 4) return ".";
  return separator;
}

void SheetWindow::present(const CalculationOutcome& outcome) {
  for (const std::string& message : outcome.messages) {
    Platform::current().showMessage(this, QString::fromStdString(message));
  }
  if (outcome.report) Form2::showReport(this, outcome.title, *outcome.report);
}

void SheetWindow::guarded(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::bad_alloc&) {
    Platform::current().showMessage(this, QString::fromUtf8(kOutOfMemoryMessage));
  }
}

void SheetWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  applyResizeRule();
}

void SheetWindow::applyResizeRule() {
  const QRect outer = frameGeometry();
  const int w = pixelsToTwipsX(outer.width(), this);
  const int h = pixelsToTwipsY(outer.height(), this);
  // Below the margins (a minimised window) the sizes clamp at 0.
  const int width = twipsToPixelsX(std::max(0, w - kWidthMargin), this);
  const int height = twipsToPixelsY(std::max(0, h - kHeightMargin), this);
  MSFlexGrid1->resize(width, height);
  Frame1->resize(width, Frame1->height());
}

void SheetWindow::keyPressEvent(QKeyEvent* event) {
  // A sheet window has no default or cancel button: Enter presses only the
  // button that has the focus, and Escape does not close the window.
  const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
  if (enter && event->modifiers() == Qt::NoModifier) {
    if (auto* focused = qobject_cast<QPushButton*>(focusWidget());
        focused && focused->isEnabled()) {
      focused->click();
      return;
    }
  }
  QWidget::keyPressEvent(event);
}

}  // namespace orcalc::ui
