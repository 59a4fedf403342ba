#include "stepsview/steps_window.h"

#include <QButtonGroup>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSplitter>
#include <QTableView>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <memory>
#include <new>

#include "platform/file_export.h"
#include "platform/platform.h"
#include "printing/html_pages.h"
#include "results/report_font.h"
#include "steps/pivot_exercise.h"
#include "steps/step_grid.h"
#include "steps/step_grid_cell.h"
#include "steps/step_render.h"
#include "steps/step_summary.h"
#include "stepsview/steps_table_model.h"

namespace orcalc::ui {
namespace {

const char* const kTitle = "单纯形表";
const char* const kExportFilter = "HTML 网页 (*.html);;LaTeX 文件 (*.tex);;CSV 文件 (*.csv)";
const char* const kFirstName = "单纯形表.html";
// Tables up to this many cells get columns as wide as their texts; larger
// ones one width for all, so that they open at once.
constexpr long kMostFittedCells = 20000;
// The most numbers the tables are printed with: more would take the
// window minutes and hundreds of pages; they can be exported instead.
constexpr long kMostPrintedCells = 100000;

steps::StepsFormat FormatOfName(const QString& path) {
  if (path.endsWith(QStringLiteral(".tex"), Qt::CaseInsensitive)) return steps::StepsFormat::Latex;
  if (path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive)) return steps::StepsFormat::Csv;
  return steps::StepsFormat::Html;
}

QPushButton* makeButton(const char* text, const char* name, QWidget* parent) {
  auto* button = new QPushButton(QString::fromUtf8(text), parent);
  button->setObjectName(QString::fromUtf8(name));
  button->setAutoDefault(false);
  return button;
}

QLabel* makeLabel(const char* name, QWidget* parent) {
  auto* label = new QLabel(parent);
  label->setObjectName(QString::fromUtf8(name));
  label->setWordWrap(true);
  label->setTextInteractionFlags(Qt::TextSelectableByMouse);
  return label;
}

}  // namespace

StepsWindow::StepsWindow(steps::StepsDocument doc, QWidget* parent,
                         std::shared_ptr<const steps::KeptCalculation> kept)
    : QDialog(parent, ownedWindowFlags(parent)),
      doc_(std::move(doc)),
      kept_(std::move(kept)),
      decimals_(!doc_.exact) {
  setObjectName(QStringLiteral("frmSteps"));
  setWindowTitle(QString::fromUtf8(kTitle));
  whole_notes_ = doc_.notes;
  if (doc_.tables_left_out > 0) std::erase(whole_notes_, steps::LeftOutNote(doc_));
  buildControls();
  fillStepList();
  showStep(0);
  resize(960, 640);
}

QLayout* StepsWindow::buildButtonRow() {
  firstButton_ = makeButton("第一步", "firstButton", this);
  previousButton_ = makeButton("上一步", "previousButton", this);
  nextButton_ = makeButton("下一步", "nextButton", this);
  lastButton_ = makeButton("最后一步", "lastButton", this);
  fractionsOption_ = new QRadioButton(QStringLiteral("分数"), this);
  fractionsOption_->setObjectName(QStringLiteral("fractionsOption"));
  decimalsOption_ = new QRadioButton(QStringLiteral("小数"), this);
  decimalsOption_->setObjectName(QStringLiteral("decimalsOption"));
  auto* numbers = new QButtonGroup(this);
  numbers->addButton(fractionsOption_);
  numbers->addButton(decimalsOption_);
  // Tables replayed in decimals have no fractions to show.
  fractionsOption_->setEnabled(doc_.exact);
  (decimals_ ? decimalsOption_ : fractionsOption_)->setChecked(true);
  exerciseButton_ = makeButton("自己选主元", "exerciseButton", this);
  exerciseButton_->setCheckable(true);
  // The exercise is on a linear program's exact tables, all of them held.
  exerciseButton_->setEnabled(doc_.exact && !doc_.goal && !paged());
  hintButton_ = makeButton("提示", "hintButton", this);
  hintButton_->setEnabled(false);
  exportButton_ = makeButton("导出…", "exportButton", this);
  printButton_ = makeButton("打印", "printButton", this);
  printActions_ = addPrintActions(this, [this] { return printSource(); });
  auto* printMenu = new QMenu(this);
  printMenu->addActions({printActions_.print, printActions_.preview, printActions_.pdf});
  printButton_->setMenu(printMenu);
  closeButton_ = makeButton("关闭", "closeButton", this);

  connect(firstButton_, &QPushButton::clicked, this, &StepsWindow::firstStep);
  connect(previousButton_, &QPushButton::clicked, this, &StepsWindow::previousStep);
  connect(nextButton_, &QPushButton::clicked, this, &StepsWindow::nextStep);
  connect(lastButton_, &QPushButton::clicked, this, &StepsWindow::lastStep);
  connect(decimalsOption_, &QRadioButton::toggled, this, &StepsWindow::setDecimals);
  connect(exportButton_, &QPushButton::clicked, this, &StepsWindow::exportSteps);
  connect(exerciseButton_, &QPushButton::toggled, this, &StepsWindow::setExercise);
  connect(hintButton_, &QPushButton::clicked, this, &StepsWindow::hint);
  connect(closeButton_, &QPushButton::clicked, this, &QWidget::close);

  auto* row = new QHBoxLayout;
  for (QWidget* w : {static_cast<QWidget*>(firstButton_), static_cast<QWidget*>(previousButton_),
                     static_cast<QWidget*>(nextButton_), static_cast<QWidget*>(lastButton_)})
    row->addWidget(w);
  row->addStretch();
  row->addWidget(fractionsOption_);
  row->addWidget(decimalsOption_);
  row->addSpacing(12);
  row->addWidget(exerciseButton_);
  row->addWidget(hintButton_);
  row->addWidget(exportButton_);
  row->addWidget(printButton_);
  row->addWidget(closeButton_);
  return row;
}

QWidget* StepsWindow::buildTablePane() {
  auto* pane = new QWidget(this);
  titleLabel_ = makeLabel("titleLabel", pane);
  model_ = new StepsTableModel(this);
  tableView_ = new QTableView(pane);
  tableView_->setObjectName(QStringLiteral("tableView"));
  tableView_->setModel(model_);
  tableView_->setFont(reportFont(font()));
  tableView_->horizontalHeader()->hide();
  tableView_->verticalHeader()->hide();
  tableView_->setEditTriggers(QAbstractItemView::NoEditTriggers);
  // Tab leaves the table for the next control; the arrows move within it.
  tableView_->setTabKeyNavigation(false);
  tableView_->setSelectionMode(QAbstractItemView::SingleSelection);
  tableView_->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
  tableView_->setVerticalScrollMode(QAbstractItemView::ScrollPerPixel);
  connect(tableView_, &QTableView::clicked, this, &StepsWindow::pickCell);
  // From the keyboard: the cell under the cursor, picked with Enter (a
  // double click has made its pick by its first click).
  connect(tableView_, &QTableView::activated, this, [this](const QModelIndex& index) {
    if (QGuiApplication::mouseButtons() == Qt::NoButton) pickCell(index);
  });
  objectiveLabel_ = makeLabel("objectiveLabel", pane);
  sentenceLabel_ = makeLabel("sentenceLabel", pane);
  roundOffLabel_ = makeLabel("roundOffLabel", pane);
  roundOffLabel_->setStyleSheet(QStringLiteral("color: #b00000"));
  endingLabel_ = makeLabel("endingLabel", pane);
  exerciseLabel_ = makeLabel("exerciseLabel", pane);
  exerciseLabel_->setStyleSheet(QStringLiteral("color: #0000b0"));
  auto* layout = new QVBoxLayout(pane);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(titleLabel_);
  layout->addWidget(tableView_, 1);
  for (QLabel* label :
       {objectiveLabel_, sentenceLabel_, roundOffLabel_, endingLabel_, exerciseLabel_})
    layout->addWidget(label);
  return pane;
}

void StepsWindow::buildControls() {
  stepList_ = new QTreeWidget(this);
  stepList_->setObjectName(QStringLiteral("stepList"));
  stepList_->setRootIsDecorated(false);
  stepList_->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
  stepList_->setHeaderLabels({QStringLiteral("表"), QStringLiteral("阶段"), QStringLiteral("主元"),
                              QStringLiteral("进基"), QStringLiteral("出基"), QStringLiteral("S")});
  connect(stepList_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) {
    if (item) showStep(static_cast<std::size_t>(stepList_->indexOfTopLevelItem(item)));
  });
  auto* splitter = new QSplitter(Qt::Horizontal, this);
  splitter->addWidget(stepList_);
  splitter->addWidget(buildTablePane());
  splitter->setStretchFactor(1, 1);
  splitter->setSizes({330, 570});

  legendBox_ = new QPlainTextEdit(this);
  legendBox_->setObjectName(QStringLiteral("legendBox"));
  legendBox_->setReadOnly(true);
  legendBox_->setMaximumHeight(110);
  QStringList lines;
  for (const std::string& line : doc_.legend) lines << QString::fromStdString(line);
  for (const std::string& line : doc_.notes) lines << QString::fromStdString(line);
  legendBox_->setPlainText(lines.join(QLatin1Char('\n')));

  auto* layout = new QVBoxLayout(this);
  layout->addLayout(buildButtonRow());
  layout->addWidget(splitter, 1);
  layout->addWidget(legendBox_);
}

void StepsWindow::fillStepList() {
  const QSignalBlocker quiet(stepList_);
  // The items are kept and their texts replaced: the list is filled again
  // from its own signal while the user moves through it.
  const int count = static_cast<int>(stepCount());
  while (stepList_->topLevelItemCount() > count)
    delete stepList_->takeTopLevelItem(stepList_->topLevelItemCount() - 1);
  while (stepList_->topLevelItemCount() < count) new QTreeWidgetItem(stepList_);
  bool phases = false;  // a problem of one phase leaves the column empty
  for (int i = 0; i < count; ++i) {
    const std::size_t index = static_cast<std::size_t>(i);
    const steps::StepSummary s =
        paged() ? steps::SummariseTable(doc_, index) : steps::SummariseStep(doc_, index, decimals_);
    phases = phases || !s.phase.empty();
    const std::string none;
    const bool hidden = hidesPivot(index);
    int column = 0;
    // Nor the objective of the tables ahead of the current one.
    const bool ahead = hidden && index > current_;
    for (const std::string* text :
         {&s.title, &s.phase, hidden ? &none : &s.pivot, hidden ? &none : &s.entering,
          hidden ? &none : &s.leaving, ahead ? &none : &s.value})
      stepList_->topLevelItem(i)->setText(column++, QString::fromStdString(*text));
  }
  stepList_->setColumnHidden(1, !phases);
  if (current_ < doc_.tableaux.size())
    stepList_->setCurrentItem(stepList_->topLevelItem(static_cast<int>(currentStep())));
}

bool StepsWindow::paged() const { return kept_ && doc_.summaries.size() > doc_.tableaux.size(); }

std::size_t StepsWindow::stepCount() const {
  return paged() ? doc_.summaries.size() : doc_.tableaux.size();
}

std::size_t StepsWindow::currentStep() const {
  if (current_ >= doc_.tableaux.size()) return 0;
  return paged() ? static_cast<std::size_t>(doc_.tableaux[current_].number) : current_;
}

bool StepsWindow::holdTable(std::size_t number) {
  auto find = [this, number] {
    const auto at = std::find_if(doc_.tableaux.begin(), doc_.tableaux.end(),
                                 [number](const steps::StepTableau& table) {
                                   return table.number == static_cast<long>(number);
                                 });
    if (at == doc_.tableaux.end()) return false;
    current_ = static_cast<std::size_t>(at - doc_.tableaux.begin());
    return true;
  };
  if (find()) return true;
  const long held = doc_.tableaux.empty() ? 0 : doc_.tableaux[current_].number;
  // The page held goes first: two pages of a large problem's tables at once
  // would take twice the memory.
  model_->showTable(nullptr, 0, decimals_, false);
  std::vector<steps::StepTableau>().swap(doc_.tableaux);
  if (replacePage(static_cast<long>(number))) return find();
  Platform::current().showMessage(this, QStringLiteral("内存不足"));
  // The page held before fitted.
  if (replacePage(held)) {
    current_ = 0;
    while (current_ + 1 < doc_.tableaux.size() && doc_.tableaux[current_].number != held)
      ++current_;
  }
  return false;
}

bool StepsWindow::replacePage(long first) {
  try {
    steps::StepsDocument page = steps::ReplayPage(*kept_, first);
    // The whole calculation's notes stay; the page says which tables it lists.
    page.notes = whole_notes_;
    if (page.tables_left_out > 0) page.notes.push_back(steps::LeftOutNote(page));
    doc_ = std::move(page);
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!doc_.exact) {
    decimals_ = true;
    const QSignalBlocker quiet(decimalsOption_);
    decimalsOption_->setChecked(true);
    fractionsOption_->setEnabled(false);
  }
  return true;
}

bool StepsWindow::hidesPivot(std::size_t index) const {
  return exercise_ && index >= current_ && (!original_ || index < diverged_at_);
}

void StepsWindow::showStep(std::size_t index) {
  if (stepCount() == 0) return;
  index = std::min(index, stepCount() - 1);
  if (!paged()) {
    current_ = index;
  } else if (!holdTable(index)) {
    if (doc_.tableaux.empty()) return;
    index = currentStep();  // the table held before, shown again
  }
  model_->showTable(&doc_, current_, decimals_, hidesPivot(current_));
  if (exercise_) fillStepList();
  fitColumns();
  fillTexts();
  {
    const QSignalBlocker quiet(stepList_);
    stepList_->setCurrentItem(stepList_->topLevelItem(static_cast<int>(index)));
  }
  const bool last = index + 1 == stepCount();
  firstButton_->setEnabled(index > 0);
  previousButton_->setEnabled(index > 0);
  nextButton_->setEnabled(!last);
  lastButton_->setEnabled(!last);
}

void StepsWindow::previousStep() {
  if (currentStep() > 0) showStep(currentStep() - 1);
}

void StepsWindow::nextStep() { showStep(currentStep() + 1); }

void StepsWindow::lastStep() {
  if (!doc_.tableaux.empty()) showStep(stepCount() - 1);
}

void StepsWindow::fillTexts() {
  const steps::StepTableau& table = doc_.tableaux[current_];
  titleLabel_->setText(QString::fromStdString(steps::TableTitle(doc_, current_)));
  objectiveLabel_->setText(QString::fromStdString(
      steps::ObjectiveLine(doc_, table, steps::ShownNumber(table.objective, decimals_))));
  sentenceLabel_->setText(QString::fromStdString(steps::ShownSentence(doc_, table, decimals_)));
  const bool hidden = hidesPivot(current_);
  sentenceLabel_->setVisible(!hidden);
  roundOffLabel_->setText(QString::fromStdString(table.round_off));
  roundOffLabel_->setVisible(!hidden && !table.round_off.empty());
  exerciseLabel_->clear();
  const bool last = currentStep() + 1 == stepCount();
  endingLabel_->setText(last ? QString::fromStdString(doc_.ending) : QString());
  endingLabel_->setVisible(last && !doc_.ending.empty());
}

void StepsWindow::fitColumns() {
  const long cells = static_cast<long>(model_->rowCount()) * model_->columnCount();
  if (cells <= kMostFittedCells) {
    tableView_->resizeColumnsToContents();
    return;
  }
  const QFontMetrics metrics(tableView_->font());
  const int width = metrics.horizontalAdvance(QStringLiteral("[-0.333333]")) + 8;
  tableView_->horizontalHeader()->setDefaultSectionSize(width);
  for (int c = 0; c < model_->columnCount(); ++c) tableView_->setColumnWidth(c, width);
}

void StepsWindow::setDecimals(bool decimals) {
  if (!doc_.exact) decimals = true;
  if (decimals == decimals_) return;
  decimals_ = decimals;
  fillStepList();
  showStep(currentStep());
}

void StepsWindow::exportSteps() {
  FileExport what;
  what.filter = QString::fromUtf8(kExportFilter);
  what.initialPath = saved_path_.isEmpty() ? QString::fromUtf8(kFirstName) : saved_path_;
  what.endings = {QStringLiteral(".html"), QStringLiteral(".htm"), QStringLiteral(".tex"),
                  QStringLiteral(".csv")};
  what.ending = QStringLiteral(".html");
  exportFile(this, what, saved_path_, [this](const QString& path) {
    const std::string text = steps::Render(shownDocument(), FormatOfName(path));
    return std::optional<QByteArray>(QByteArray::fromStdString(text));
  });
}

steps::StepsDocument StepsWindow::shownDocument() const {
  return decimals_ && doc_.exact ? steps::InDecimals(doc_) : doc_;
}

PrintSource StepsWindow::printSource() {
  QFont font = reportFont(this->font());
  font.setPointSizeF(8);
  return {windowTitle(), [this, font](QPagedPaintDevice* device) {
            long cells = 0;
            for (const steps::StepTableau& table : doc_.tableaux) {
              const steps::GridSize size = steps::TableGridSize(table);
              cells += static_cast<long>(size.rows) * size.columns;
            }
            if (cells > kMostPrintedCells) {
              Platform::current().showMessage(
                  this, QStringLiteral("单纯形表有 %1 个数，超过可打印的 %2 个；请先导出为文件。")
                            .arg(cells)
                            .arg(kMostPrintedCells));
              return false;
            }
            // A table wider than a line of the page goes on below in parts.
            const int columns = std::max(htmlPageColumns(device, font) * 19 / 20, 20);
            const std::string page =
                steps::RenderHtml(shownDocument(), static_cast<std::size_t>(columns));
            paintHtmlPages(device, QString::fromStdString(page), font);
            return true;
          }};
}

void StepsWindow::setExercise(bool on) {
  if (on && (!doc_.exact || doc_.goal || paged())) on = false;
  exercise_ = on;
  hintButton_->setEnabled(on);
  if (!on && original_) {
    doc_ = std::move(*original_);
    original_.reset();
  }
  fillStepList();
  showStep(currentStep());
  if (on) exerciseLabel_->setText(QStringLiteral("请在表中点击所选的主元。"));
}

void StepsWindow::pickCell(const QModelIndex& index) {
  int row = 0;
  int column = 0;
  if (exercise_ && model_->tableauCell(index.row(), index.column(), row, column))
    pickPivot(row, column);
}

void StepsWindow::pickPivot(int row, int column) {
  if (!exercise_ || doc_.tableaux.empty()) return;
  const steps::PivotJudgement judgement =
      steps::JudgePivot(doc_, doc_.tableaux[current_], {row, column});
  if (judgement.verdict != steps::PivotVerdict::Accepted) {
    exerciseLabel_->setText(QString::fromStdString(judgement.sentence));
    return;
  }
  if (!original_) {
    original_ = doc_;
    diverged_at_ = current_;
  }
  diverged_at_ = std::min(diverged_at_, current_);
  doc_.tableaux.resize(current_ + 1);
  doc_.tables_left_out = 0;
  steps::ExerciseStep step = steps::TakeExerciseStep(doc_, doc_.tableaux[current_], {row, column});
  doc_.ending = std::move(step.ending);
  const bool phase_ended = step.tables.size() > 1;
  for (steps::StepTableau& next : step.tables) doc_.tableaux.push_back(std::move(next));
  fillStepList();
  showStep(doc_.tableaux.size() - 1);
  // The last table of phase 1 stays in the list, with its sentence.
  exerciseLabel_->setText(phase_ended ? QStringLiteral("换基正确。第一阶段结束，已转入第二阶段。")
                                      : QStringLiteral("换基正确。"));
}

void StepsWindow::hint() {
  if (doc_.tableaux.empty()) return;
  const steps::StepTableau& table = doc_.tableaux[current_];
  // Up to the user's first pivot the tables are the calculation's: its
  // pivot there; after it, the textbook's choice on the user's table.
  const bool own = !original_ || current_ <= diverged_at_;
  const steps::StepTableau& calculated = original_ && own ? original_->tableaux[current_] : table;
  const std::optional<steps::StepPivot> choice =
      own && calculated.pivot ? calculated.pivot : steps::TextbookPivot(doc_, table);
  if (!choice) {
    const std::string ending = steps::ExerciseEnding(doc_, table);
    exerciseLabel_->setText(QStringLiteral("提示：") + (ending.empty()
                                                            ? QStringLiteral("此表不再换基。")
                                                            : QString::fromStdString(ending)));
    return;
  }
  const steps::StepNumber& pivot = table.Cell(choice->row, choice->column, doc_.columns.size());
  exerciseLabel_->setText(
      QStringLiteral("提示：%1 进基，%2 出基，主元为 %3")
          .arg(QString::fromStdString(doc_.columns[static_cast<std::size_t>(choice->column)].name),
               QString::fromStdString(
                   doc_.columns[static_cast<std::size_t>(
                                    table.basis[static_cast<std::size_t>(choice->row)])]
                       .name),
               QString::fromStdString(steps::ShownNumber(pivot, decimals_))));
}

void showStepsWindow(QWidget* owner, steps::StepsDocument doc,
                     std::shared_ptr<const steps::KeptCalculation> kept) {
  // Owned here until it is shown, so that an exception on the way takes it
  // along.
  auto window = std::make_unique<StepsWindow>(std::move(doc), owner, std::move(kept));
  window->setAttribute(Qt::WA_DeleteOnClose);
  QPointer<StepsWindow> shown = window.get();
  // Qt deletes it when it is closed.
  static_cast<void>(window.release());
  Platform::current().runModal(shown);
}

}  // namespace orcalc::ui
