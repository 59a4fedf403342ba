#include "app/sheet_window.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QEventLoop>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QUndoStack>
#include <algorithm>
#include <memory>

#include "about/about_box.h"
#include "app/calculation_runner.h"
#include "app/count_box.h"
#include "app/sheet_clipboard.h"
#include "app/sheet_file_commands.h"
#include "app/sheet_files.h"
#include "app/sheet_recovery.h"
#include "app/sheet_undo.h"
#include "common/numeric_reading.h"
#include "common/sheet_shape.h"
#include "files/sheet_file.h"
#include "platform/platform.h"
#include "platform/twips.h"
#include "results/results_window.h"
#include "sheet/cell_editing.h"
#include "sheet/sheet_grid.h"

namespace orcalc::ui {

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

// The smallest window: a margin right of the last button (twips), and the
// grid's first rows below the panel.
constexpr int kMinimumMargin = 120;
constexpr int kMinimumGridHeight = 1200;

const char* const kStaleLayoutMessage = "变量数或约束方程数已改变，请先按“确定”。";

}  // namespace

SheetWindow::SheetWindow(const SheetWindowDesign& design, QWidget* parent)
    : QDialog(parent, ownedWindowFlags(parent)), design_(design) {
  setWindowTitle(QString::fromUtf8(design.caption));
  setAcceptDrops(true);
  buildFrame();
  createParts();
  createMenus();
  setDesignSize();
  // The grid comes first in the keyboard order: it has the focus when the
  // window opens.
  buildGrid();
  buildPanel();
  buildEditors();
  grid_->setFocus();
  connectCommands();
  followSheetChanges();
  placeMenuBar();
  load();
}

void SheetWindow::buildFrame() {
  // The menu bar sits above the design area; the window is taller by its
  // height, and every control keeps its design place in the area.
  menuBar_ = new QMenuBar(this);
  menuBar_->setObjectName(QStringLiteral("menuBar"));
  designArea_ = new QWidget(this);
  designArea_->setObjectName(QStringLiteral("designArea"));
}

void SheetWindow::createParts() {
  undoStack_ = new QUndoStack(this);
  recovery_ = new SheetRecovery(
      recentKind(), [this] { return sheetToKeep(); }, this);
  SheetFileCommands::Window window;
  window.widget = this;
  window.caption = QString::fromUtf8(design_.caption);
  window.recentKind = recentKind();
  window.closeEditors = [this] { editing_->closeEditors(); };
  window.laidOut = [this] { return calculateButton_->isEnabled(); };
  window.fileBytes = [this] { return fileBytes(); };
  window.takeSheet = [this](const SheetFileRead& read, const QString& step, const QString& file) {
    return takeSheet(read, step, file);
  };
  files_ = new SheetFileCommands(std::move(window), *recovery_, this);
}

void SheetWindow::setDesignSize() {
  const SheetWindowDesign& design = design_;
  resize(twipsToPixelsX(design.client_width, this),
         twipsToPixelsY(design.client_height, this) + menuBar_->sizeHint().height());
  // Never so small that the panel's buttons are cut off: the panel across,
  // and below it the first rows of the grid.
  setMinimumSize(
      twipsToPixelsX(
          design.panel.x() + design.exit_button.x() + design.exit_button.width() + kMinimumMargin,
          this),
      twipsToPixelsY(design.grid.y() + kMinimumGridHeight, this) + menuBar_->sizeHint().height());
}

void SheetWindow::buildGrid() {
  grid_ = place(new SheetGrid(designArea_), "MSFlexGrid1", design_.grid, designArea_);
  // A right click on the grid offers the 编辑 menu's commands.
  grid_->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(grid_, &QWidget::customContextMenuRequested, this, [this](const QPoint& at) {
    editing_->closeEditors();
    editMenu_->popup(grid_->mapToGlobal(at));
  });
}

void SheetWindow::buildPanel() {
  const SheetWindowDesign& design = design_;
  panel_ = place(new QGroupBox(designArea_), "Frame1", design.panel, designArea_);
  variableCountLabel_ = label("Label2", "变量数:", design.variable_count_label, panel_);
  variableCountBox_ = place(new QLineEdit(panel_), "Text2", design.variable_count_box, panel_);
  rowCountLabel_ = label("Label1", "约束方程数:", design.row_count_label, panel_);
  constraintCountBox_ = place(new QLineEdit(panel_), "Text1", design.row_count_box, panel_);
  makeCountBox(variableCountBox_);
  makeCountBox(constraintCountBox_);
  variableCountBox_->setText(QStringLiteral("5"));
  constraintCountBox_->setText(QStringLiteral("6"));
  if (design.has_sense) {
    senseLabel_ = label("Label3", "目标函数求:", design.sense_label, panel_);
    minimumOption_ = place(new QRadioButton(QStringLiteral("最小值"), panel_), "Option1_1",
                           design.minimum_option, panel_);
    maximumOption_ = place(new QRadioButton(QStringLiteral("最大值"), panel_), "Option1_0",
                           design.maximum_option, panel_);
    minimumOption_->setChecked(true);
  }
  okButton_ = button("Command1", "确定", design.ok_button, panel_);
  calculateButton_ = button("Command2", "计算", design.calculate_button, panel_);
  statisticsButton_ = button("Command3", "统计", design.statistics_button, panel_);
  if (design.has_sense) goalButton_ = button("Command4", "目标规划", design.goal_button, panel_);
  aboutButton_ = button("Command5", "关于", design.about_button, panel_);
  exitButton_ = button("Command6", "退出", design.exit_button, panel_);
}

void SheetWindow::buildEditors() {
  // The floating editors, siblings of the grid; placed over a cell when
  // they open.
  numberEditor_ = new QLineEdit(designArea_);
  numberEditor_->setObjectName(QStringLiteral("Text8"));
  signDropDown_ = new QComboBox(designArea_);
  signDropDown_->setObjectName(QStringLiteral("Combo3"));
  signDropDown_->setEditable(true);
  const int from_right = design_.sign_column_from_right;
  editing_ = new CellEditing(this, grid_, numberEditor_, signDropDown_,
                             [from_right](int cols) { return cols - from_right; });
  const BlockLayout blocks{design_.sign_column_from_right, design_.fixed_trailing_row,
                           design_.layout.trailing_cols};
  clipboard_ = std::make_unique<SheetClipboard>(
      this, grid_, *editing_, numberEditor_, blocks,
      [this](std::vector<CellChange> changes, const QString& text) {
        pushCellChanges(std::move(changes), text);
      });
}

void SheetWindow::connectCommands() {
  connect(okButton_, &QPushButton::clicked, this, &SheetWindow::ok);
  connect(calculateButton_, &QPushButton::clicked, this, &SheetWindow::calculate);
  connect(statisticsButton_, &QPushButton::clicked, this, &SheetWindow::statistics);
  connect(aboutButton_, &QPushButton::clicked, this, &SheetWindow::about);
  connect(exitButton_, &QPushButton::clicked, this, &QWidget::close);
  connect(editing_, &CellEditing::cellCommitted, this,
          [this](int row, int col, const QString& before, const QString& after) {
            pushCellChanges({CellChange{row, col, before, after}}, QStringLiteral("编辑"));
          });
}

void SheetWindow::followSheetChanges() {
  // Undo and redo bring back the file of the sheet they show.
  connect(undoStack_, &QUndoStack::indexChanged, files_, &SheetFileCommands::reach);
  // Every step changes the sheet, and so does the sense; the sheet is kept
  // a while later.
  connect(undoStack_, &QUndoStack::indexChanged, recovery_, &SheetRecovery::changed);
  if (design_.has_sense) {
    connect(maximumOption_, &QRadioButton::toggled, recovery_, &SheetRecovery::changed);
    connect(maximumOption_, &QRadioButton::toggled, files_, &SheetFileCommands::showInCaption);
  }
  connect(recovery_, &SheetRecovery::written, this, &SheetWindow::updateRestoreAction);
}

QAction* SheetWindow::addMenuAction(QMenu* menu, const char* name, const char* text,
                                    const QList<QKeySequence>& keys, std::function<void()> run) {
  QAction* a = menu->addAction(QString::fromUtf8(text));
  a->setObjectName(QString::fromLatin1(name));
  a->setShortcuts(keys);
  connect(a, &QAction::triggered, this, [run = std::move(run)] { run(); });
  addAction(a);  // the shortcut works wherever the focus is in the window
  return a;
}

void SheetWindow::createMenus() {
  createFileMenu();
  createEditMenu();
  helpMenu_ = menuBar_->addMenu(QStringLiteral("帮助(&H)"));
  helpMenu_->setObjectName(QStringLiteral("menuHelp"));
  addMenuAction(helpMenu_, "actionAbout", "关于…", {}, [this] { about(); });
}

void SheetWindow::createFileMenu() {
  using K = QKeySequence;
  QMenu* file = menuBar_->addMenu(QStringLiteral("文件(&F)"));
  file->setObjectName(QStringLiteral("menuFile"));
  addMenuAction(file, "actionOpen", "打开表格…", {K(Qt::CTRL | Qt::Key_O)},
                [this] { openSheet(); });
  addMenuAction(file, "actionSave", "保存表格", {K(Qt::CTRL | Qt::Key_S)}, [this] { saveSheet(); });
  addMenuAction(file, "actionSaveAs", "表格另存为…", {K(Qt::CTRL | Qt::SHIFT | Qt::Key_S)},
                [this] { saveSheetAs(); });
  recentMenu_ = file->addMenu(QStringLiteral("最近打开的表格"));
  recentMenu_->setObjectName(QStringLiteral("menuRecent"));
  connect(recentMenu_, &QMenu::aboutToShow, this, [this] { files_->fillRecentMenu(recentMenu_); });
  files_->fillRecentMenu(recentMenu_);
  restoreAction_ = addMenuAction(file, "actionRestoreLast", "恢复上次的表格", {},
                                 [this] { restoreLastSheet(); });
  connect(file, &QMenu::aboutToShow, this, &SheetWindow::updateRestoreAction);
  updateRestoreAction();
  exitSeparator_ = file->addSeparator();
  fileMenu_ = file;
  addMenuAction(file, "actionExit", "退出", {}, [this] { close(); });
}

void SheetWindow::createEditMenu() {
  using K = QKeySequence;
  QMenu* edit = menuBar_->addMenu(QStringLiteral("编辑(&E)"));
  edit->setObjectName(QStringLiteral("menuEdit"));
  editMenu_ = edit;
  QAction* undo_action =
      addMenuAction(edit, "actionUndo", "撤销", {K(Qt::CTRL | Qt::Key_Z)}, [this] { undo(); });
  QAction* redo_action = addMenuAction(
      edit, "actionRedo", "重做", {K(Qt::CTRL | Qt::Key_Y), K(Qt::CTRL | Qt::SHIFT | Qt::Key_Z)},
      [this] { redo(); });
  undo_action->setEnabled(false);
  redo_action->setEnabled(false);
  connect(undoStack_, &QUndoStack::canUndoChanged, undo_action, &QAction::setEnabled);
  connect(undoStack_, &QUndoStack::canRedoChanged, redo_action, &QAction::setEnabled);
  edit->addSeparator();
  addMenuAction(edit, "actionCut", "剪切", {K(Qt::CTRL | Qt::Key_X)}, [this] { cutBlock(); });
  addMenuAction(edit, "actionCopy", "复制", {K(Qt::CTRL | Qt::Key_C)}, [this] { copyBlock(); });
  addMenuAction(edit, "actionPaste", "粘贴", {K(Qt::CTRL | Qt::Key_V)}, [this] { pasteBlock(); });
  addMenuAction(edit, "actionClear", "清除", {K(Qt::Key_Delete)}, [this] { clearBlock(); });
  addMenuAction(edit, "actionSelectAll", "全选", {K(Qt::CTRL | Qt::Key_A)},
                [this] { selectAllCells(); });
}

QAction* SheetWindow::addFileMenuAction(const char* name, const char* text,
                                        std::function<void()> run) {
  QAction* a = addMenuAction(fileMenu_, name, text, {}, std::move(run));
  fileMenu_->removeAction(a);
  fileMenu_->insertAction(exitSeparator_, a);
  return a;
}

QString SheetWindow::takeSheetFromElsewhere(const Sheet& sheet, const QString& step,
                                            const std::vector<std::string>& variableTypes) {
  SheetFileRead read;
  read.ok = true;
  read.sheet = sheet;
  if (!variableTypes.empty()) read.variable_types = variableTypes;
  return takeSheet(read, step, QString());
}

QMenu* SheetWindow::addMenu(const QString& title, std::initializer_list<MenuItem> items) {
  auto* menu = new QMenu(title, menuBar_);
  menuBar_->insertMenu(helpMenu_->menuAction(), menu);
  for (const MenuItem& item : items) {
    QAction* a = menu->addAction(item.text);
    if (!item.shortcut.isEmpty()) a->setShortcut(item.shortcut);
    connect(a, &QAction::triggered, this, [run = item.run] { run(); });
    addAction(a);
  }
  return menu;
}

QString SheetWindow::recentKind() const {
  return design_.sheet_kind == stats::SheetKind::GoalProgramming ? QStringLiteral("goal")
                                                                 : QStringLiteral("lp");
}

SheetWindow::~SheetWindow() {
  // The stack empties itself when it goes, after this window's parts: no
  // one is to hear of it.
  undoStack_->disconnect();
}

void SheetWindow::load() {
  editing_->loadItems();
  calculateButton_->setEnabled(false);
}

void SheetWindow::ok() {
  guarded([this] {
    editing_->closeEditors();
    WindowState before = captureState();
    const int variables = count(variableCountBox_);
    // Types belong to the variables they were given for.
    const bool same_variables = calculateButton_->isEnabled() &&
                                design_.layout.VariablesFromCols(grid_->cols()) == variables;
    layOutSheet(variables, count(constraintCountBox_));
    if (!same_variables) variableTypes_.clear();
    calculateButton_->setEnabled(true);
    pushWindowState(std::move(before), QStringLiteral("确定"), files_->path());
  });
}

void SheetWindow::calculate() {
  runCalculationCommand([this](int variables, int constraints) {
    return prepareCalculation(variables, constraints);
  });
}

bool SheetWindow::countsMatchLayout() {
  const SheetLayout& layout = design_.layout;
  if (layout.CountFromRows(grid_->rows()) == count(constraintCountBox_) &&
      layout.VariablesFromCols(grid_->cols()) == count(variableCountBox_)) {
    return true;
  }
  Platform::current().showMessage(this, QString::fromUtf8(kStaleLayoutMessage));
  return false;
}

void SheetWindow::runCalculationCommand(
    const std::function<CalculationJob(int variables, int constraints)>& prepare) {
  if (!countsMatchLayout()) return;
  guarded([&] {
    recovery_->writeNow();
    std::optional<CalculationOutcome> outcome =
        runCalculationJob(this, prepare(count(variableCountBox_), count(constraintCountBox_)));
    if (outcome) present(*outcome);
  });
}

void SheetWindow::statistics() {
  guarded([this] {
    stats::StatsRequest request;
    request.column = editing_->recordedCol();
    request.count = count(constraintCountBox_);
    request.kind = design_.sheet_kind;
    request.decimal_separator = decimalSeparator();
    const Sheet& sheet = grid_->sheet();
    std::optional<CalculationOutcome> outcome = runCalculationJob(
        this, [request, &sheet](Progress&) { return stats::Calculate(request, sheet); });
    if (outcome) present(*outcome);
  });
}

void SheetWindow::about() { showAboutBox(this); }

std::string SheetWindow::decimalSeparator() {
  // The system's, not the default locale the windows are shown in.
  std::string separator = QLocale::system().decimalPoint().toStdString();
  // Plain number text takes a separator of at most four bytes.
  if (separator.empty() || separator.size() > 4) return ".";
  return separator;
}

void SheetWindow::present(const CalculationOutcome& outcome) { presentOutcome(this, outcome); }

void SheetWindow::guarded(const std::function<void()>& command) { runGuarded(this, command); }

void SheetWindow::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  placeMenuBar();
  applyResizeRule();
}

void SheetWindow::placeMenuBar() {
  const int menu_height = menuBar_->sizeHint().height();
  menuBar_->setGeometry(0, 0, width(), menu_height);
  designArea_->setGeometry(0, menu_height, width(), std::max(0, height() - menu_height));
}

void SheetWindow::applyResizeRule() {
  // The window less its menu bar, as the design knows it.
  const QRect outer = frameGeometry();
  const int w = pixelsToTwipsX(outer.width(), this);
  const int h = pixelsToTwipsY(outer.height() - menuBar_->height(), this);
  // Below the margins (a minimised window) the sizes clamp at 0.
  const int width = twipsToPixelsX(std::max(0, w - kWidthMargin), this);
  const int height = twipsToPixelsY(std::max(0, h - kHeightMargin), this);
  grid_->resize(width, height);
  panel_->resize(width, panel_->height());
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
  // Past QDialog's handler on purpose: it would close the window on Escape.
  QWidget::keyPressEvent(event);  // NOLINT(bugprone-parent-virtual-call): see above
}

// ---- Sheet files ----

void SheetWindow::prepareSheetForFile(Sheet&) const {}

Sheet SheetWindow::sheetForFile() const {
  Sheet sheet = grid_->sheet();
  prepareSheetForFile(sheet);
  return sheet;
}

std::string SheetWindow::fileBytes() const { return WriteSheetCsv(sheetForFile(), variableTypes_); }

void SheetWindow::setVariableTypes(std::vector<std::string> fields, const QString& step) {
  if (fields == variableTypes_) return;
  WindowState before = captureState();
  variableTypes_ = std::move(fields);
  pushWindowState(std::move(before), step, files_->path());
}

std::optional<std::string> SheetWindow::sheetToKeep() const {
  // A fresh window keeps the earlier sheet.
  if (!calculateButton_->isEnabled()) return std::nullopt;
  return fileBytes();
}

QString SheetWindow::sheetPath() const { return files_->path(); }

bool SheetWindow::hasUnsavedChanges() const { return files_->hasUnsavedChanges(); }

void SheetWindow::openSheet() { files_->open(); }

bool SheetWindow::openSheetFile(const QString& path) { return files_->openFile(path); }

bool SheetWindow::saveSheet() { return files_->save(); }

bool SheetWindow::saveSheetAs() { return files_->saveAs(); }

void SheetWindow::restoreLastSheet() { files_->restoreLast(); }

void SheetWindow::updateRestoreAction() { restoreAction_->setEnabled(recovery_->available()); }

QString SheetWindow::takeSheet(const SheetFileRead& read, const QString& step,
                               const QString& file) {
  const Sheet& sheet = read.sheet;
  const SheetFit fit = fitSheet(sheet);
  QString why = sheetRefusal(sheet, fit);
  if (!why.isEmpty()) return why;
  editing_->closeEditors();
  WindowState before = captureState();
  fillFromSheet(sheet, fit);
  variableTypes_.clear();
  if (design_.has_variable_types && read.variable_types) variableTypes_ = *read.variable_types;
  pushWindowState(std::move(before), step, file);
  return {};
}

QString SheetWindow::sheetRefusal(const Sheet& sheet, const SheetFit& fit) const {
  if (fit.mismatch.empty() && fit.as_laid_out) return {};
  // A sheet this program laid out for the other window goes there, also
  // when it would fit here with its headers taken for names.
  const SheetFit other = fitOtherKind(sheet);
  if (other.mismatch.empty() && other.as_laid_out)
    return QString::fromUtf8(design_.other_kind_refusal);
  if (fit.mismatch.empty()) return {};
  if (other.mismatch.empty()) return QString::fromUtf8(design_.other_kind_refusal);
  return QString::fromStdString(fit.mismatch);
}

void SheetWindow::fillFromSheet(const Sheet& sheet, const SheetFit& fit) {
  // Laid out as OK lays out a fresh grid for the file's counts, then the
  // cells as the file has them.
  variableCountBox_->setText(QString::number(fit.variables));
  constraintCountBox_->setText(QString::number(fit.rows));
  if (design_.has_sense) (fit.maximise ? maximumOption_ : minimumOption_)->setChecked(true);
  grid_->modifySheet([](Sheet& grid) { grid = Sheet(); });
  layOutSheet(fit.variables, fit.rows);
  const int sign_column = sheet.cols() - design_.sign_column_from_right;
  grid_->modifySheet([&](Sheet& grid) {
    for (int r = 0; r < sheet.rows(); ++r) {
      for (int c = 0; c < sheet.cols(); ++c) {
        if (fit.as_laid_out) {
          grid.SetCell(r, c, sheet.Cell(r, c));
        } else if (r > 0 && c > 0 && !clipboard_->isFixedCell(r, c)) {
          // Named by hand: the layout's headers stay.
          grid.SetCell(r, c, c == sign_column ? SignCellText(sheet.Cell(r, c)) : sheet.Cell(r, c));
        }
      }
    }
  });
  calculateButton_->setEnabled(true);
}

void SheetWindow::closeEvent(QCloseEvent* event) {
  if (!files_->mayDiscardChanges()) {
    event->ignore();
    return;
  }
  // The sheet is kept whatever the answer was, with an open editor's text.
  editing_->closeEditors();
  recovery_->writeNow();
  QDialog::closeEvent(event);
}

void SheetWindow::dragEnterEvent(QDragEnterEvent* event) { files_->dragEnter(event); }

void SheetWindow::dropEvent(QDropEvent* event) { files_->drop(event); }

// ---- Undo ----

WindowState SheetWindow::captureState() const {
  WindowState state;
  state.sheet = SheetSnapshot::of(grid_->sheet());
  state.variables = variableCountBox_->text();
  state.rows = constraintCountBox_->text();
  state.maximise = design_.has_sense && maximumOption_->isChecked();
  state.calculate_enabled = calculateButton_->isEnabled();
  state.variable_types = variableTypes_;
  return state;
}

void SheetWindow::restoreState(const WindowState& state) {
  editing_->closeEditors();
  grid_->modifySheet([&](Sheet& sheet) { sheet = state.sheet.sheet(); });
  variableCountBox_->setText(state.variables);
  constraintCountBox_->setText(state.rows);
  if (design_.has_sense) (state.maximise ? maximumOption_ : minimumOption_)->setChecked(true);
  calculateButton_->setEnabled(state.calculate_enabled);
  variableTypes_ = state.variable_types;
}

void SheetWindow::pushStep(QUndoCommand* step, const QString& file) {
  files_->stepPushed(undoStack_->index(), file);
  undoStack_->push(step);
}

void SheetWindow::pushWindowState(WindowState before, const QString& text, const QString& file) {
  pushStep(new WindowStateCommand(
               std::move(before), captureState(),
               [this](const WindowState& state) { restoreState(state); }, text),
           file);
}

void SheetWindow::pushCellChanges(std::vector<CellChange> changes, const QString& text) {
  if (changes.empty()) return;
  pushStep(new CellChangesCommand(grid_, std::move(changes), text), files_->path());
}

void SheetWindow::undo() {
  if (QLineEdit* field = focusedTextField(this)) {
    field->undo();
    return;
  }
  editing_->closeEditors();
  guarded([this] { undoStack_->undo(); });
}

void SheetWindow::redo() {
  if (QLineEdit* field = focusedTextField(this)) {
    field->redo();
    return;
  }
  editing_->closeEditors();
  guarded([this] { undoStack_->redo(); });
}

// ---- Blocks ----

void SheetWindow::copyBlock() { clipboard_->copy(); }

void SheetWindow::cutBlock() { clipboard_->cut(); }

void SheetWindow::clearBlock() { clipboard_->clear(); }

void SheetWindow::pasteBlock() { clipboard_->paste(); }

void SheetWindow::selectAllCells() {
  if (QLineEdit* field = focusedTextField(this)) {
    field->selectAll();
    return;
  }
  editing_->closeEditors();
  grid_->selectAll();
}

}  // namespace orcalc::ui
