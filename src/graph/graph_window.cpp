#include "graph/graph_window.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>
#include <new>

#include "common/numeric_reading.h"
#include "geometry/graph_command.h"
#include "graph/drawing/graph_export.h"
#include "graph/drawing/graph_picture.h"
#include "platform/file_export.h"
#include "platform/platform.h"

namespace orcalc::ui {
namespace {

const char* const kTitle = "图解法";
const char* const kSaveFilter = "PNG 图片 (*.png);;SVG 图片 (*.svg)";
const char* const kFirstName = "图解法.png";

}  // namespace

GraphView::GraphView(const lp::GraphGeometry& geometry, QWidget* parent)
    : QWidget(parent), geometry_(geometry) {
  setObjectName(QStringLiteral("graphView"));
  setMinimumSize(320, 240);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void GraphView::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  GraphPicture(geometry_, size(), font(), this).paint(painter);
}

GraphWindow::GraphWindow(lp::GraphGeometry geometry, QWidget* parent)
    : QDialog(parent, Qt::Window), geometry_(std::move(geometry)) {
  setObjectName(QStringLiteral("GraphWindow"));
  setWindowTitle(QString::fromUtf8(kTitle));

  saveImageButton = new QPushButton(QStringLiteral("保存图片…"), this);
  saveImageButton->setObjectName(QStringLiteral("saveImageButton"));
  saveImageButton->setAutoDefault(false);
  printButton = new QPushButton(QStringLiteral("打印…"), this);
  printButton->setObjectName(QStringLiteral("printButton"));
  printButton->setAutoDefault(false);
  closeButton = new QPushButton(QStringLiteral("关闭"), this);
  closeButton->setObjectName(QStringLiteral("closeButton"));
  closeButton->setAutoDefault(false);
  view = new GraphView(geometry_, this);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  buttons->addWidget(saveImageButton);
  buttons->addWidget(printButton);
  buttons->addWidget(closeButton);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buttons);
  layout->addWidget(view, 1);
  resize(760, 620);

  connect(saveImageButton, &QPushButton::clicked, this, &GraphWindow::saveImage);
  connect(closeButton, &QPushButton::clicked, this, &QWidget::close);

  // 打印… (Ctrl+P), 打印预览…, 导出PDF…: under the 打印… button and on the
  // picture's right-click menu.
  printActions = addPrintActions(this, [this] { return printSource(); });
  auto* printMenu = new QMenu(this);
  printMenu->addActions({printActions.print, printActions.preview, printActions.pdf});
  printButton->setMenu(printMenu);
  view->setContextMenuPolicy(Qt::ActionsContextMenu);
  view->addActions({printActions.print, printActions.preview, printActions.pdf});
}

PrintSource GraphWindow::printSource() const {
  return {windowTitle(), [this](QPagedPaintDevice* device) {
            QPainter painter(device);
            // Laid out as on a screen of 96 dots an inch, in the window's
            // proportions, and scaled up to the page: lines and letters keep
            // the weight they have in the window, the text stays text.
            const double scale = device->logicalDpiX() / 96.0;
            QSizeF size = QSizeF(view->size());
            size.scale(QSizeF(painter.viewport().size()) / scale, Qt::KeepAspectRatio);
            painter.scale(scale, scale);
            QFont font = view->font();
            if (font.pointSizeF() > 0) font.setPixelSize(qRound(font.pointSizeF() * 96 / 72));
            GraphPicture(geometry_, size, font, nullptr).paint(painter);
            return true;
          }};
}

void GraphWindow::saveImage() {
  FileExport what;
  what.filter = QString::fromUtf8(kSaveFilter);
  what.initialPath = saved_path_.isEmpty() ? QString::fromUtf8(kFirstName) : saved_path_;
  what.endings = {QStringLiteral(".png"), QStringLiteral(".svg")};
  what.ending = QStringLiteral(".png");
  exportFile(this, what, saved_path_, [this](const QString& path) {
    QByteArray bytes =
        renderGraphFile(geometry_, view->size(), view->font(), graphFileFormat(path));
    // An empty picture is one the memory did not suffice for.
    if (bytes.isEmpty()) throw std::bad_alloc();
    return std::optional<QByteArray>(std::move(bytes));
  });
}

bool graphMethodAvailable(const QString& variableCountText, bool sheetLaidOut) {
  return sheetLaidOut && ReadCount(variableCountText.toStdString()) == 2;
}

void showGraphWindow(QWidget* owner, const Sheet& sheet, int variables, int constraints,
                     lp::Sense sense, const std::vector<integer::VariableType>& types) {
  lp::GraphCalculation calculation =
      lp::CalculateGraph({variables, constraints, sense}, sheet, types);
  for (const std::string& message : calculation.messages) {
    Platform::current().showMessage(owner, QString::fromStdString(message));
  }
  if (!calculation.geometry) return;
  // Owned here until it is shown, so that an exception on the way takes it
  // along.
  auto window = std::make_unique<GraphWindow>(std::move(*calculation.geometry), owner);
  window->setAttribute(Qt::WA_DeleteOnClose);
  QPointer<GraphWindow> shown = window.get();
  // Qt deletes it when it is closed.
  static_cast<void>(window.release());
  Platform::current().runModal(shown);
}

}  // namespace orcalc::ui
