// The shell shared by the two sheet windows: a panel of count boxes and
// buttons across the top, the coefficient grid below, the two floating cell
// editors, the menus and the calculation. The file commands
// (SheetFileCommands) and the block clipboard (SheetClipboard) are parts of
// their own that the window owns and wires. The linear-programming window
// (LpWindow) and the goal-programming window (GoalWindow) differ only by
// their design and by what OK, Calculate and the statistics do with the
// sheet.
#pragma once

#include <QDialog>
#include <QKeySequence>
#include <QRect>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/calculation_runner.h"
#include "app/out_of_memory.h"
#include "common/calculation.h"
#include "common/sheet.h"
#include "common/sheet_layout.h"
#include "stats/stats_command.h"

class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QRadioButton;
class QUndoCommand;
class QUndoStack;

namespace orcalc::ui {

class CellEditing;
struct SheetFileRead;
class SheetClipboard;
class SheetFileCommands;
class SheetGrid;
class SheetRecovery;
struct CellChange;
struct WindowState;

// Positions and sizes in twips (left, top, width, height); the controls of
// the panel are placed relative to the panel.
struct SheetWindowDesign {
  const char* caption = "";
  int client_width = 0;
  int client_height = 0;
  QRect panel;
  QRect variable_count_label, variable_count_box, row_count_label, row_count_box;
  // The objective sense and the goal-programming button (LpWindow only).
  bool has_sense = false;
  QRect sense_label, minimum_option, maximum_option, goal_button;
  QRect ok_button, calculate_button, statistics_button, about_button, exit_button;
  QRect grid;
  // The sign column is this many columns from the right: 2 on the
  // linear-programming sheet, 6 on the goal-programming sheet.
  int sign_column_from_right = 2;
  stats::SheetKind sheet_kind = stats::SheetKind::LinearProgramming;
  // Where the layout puts the counts: the sheet's shape gives them back.
  SheetLayout layout = kLpSheetLayout;
  // Why a sheet of the other window's kind is refused here.
  const char* other_kind_refusal = "";
  // The window keeps each variable's type with the sheet (LpWindow).
  bool has_variable_types = false;
  // The row whose sign and right-hand-side cells the layout fills (the
  // objective row, with its sense), or -1: cut, clear and paste leave them
  // alone.
  int fixed_trailing_row = -1;
};

class SheetWindow : public QDialog {
  Q_OBJECT

 public:
  SheetWindow(const SheetWindowDesign& design, QWidget* parent);
  ~SheetWindow() override;

  // The controls. senseLabel, the options and goalButton are null on the
  // goal-programming window.
  QGroupBox* panel() const { return panel_; }
  QLabel* variableCountLabel() const { return variableCountLabel_; }
  QLabel* rowCountLabel() const { return rowCountLabel_; }
  QLabel* senseLabel() const { return senseLabel_; }
  QLineEdit* variableCountBox() const { return variableCountBox_; }
  QLineEdit* constraintCountBox() const { return constraintCountBox_; }  // or goals
  QRadioButton* maximumOption() const { return maximumOption_; }
  QRadioButton* minimumOption() const { return minimumOption_; }
  QPushButton* okButton() const { return okButton_; }
  QPushButton* calculateButton() const { return calculateButton_; }
  QPushButton* statisticsButton() const { return statisticsButton_; }
  QPushButton* goalButton() const { return goalButton_; }
  QPushButton* aboutButton() const { return aboutButton_; }
  QPushButton* exitButton() const { return exitButton_; }
  SheetGrid* grid() const { return grid_; }
  QLineEdit* numberEditor() const { return numberEditor_; }
  QComboBox* signDropDown() const { return signDropDown_; }

  CellEditing& editing() const { return *editing_; }

  // The menu bar above the design area, and the area below it that holds
  // the controls at their design positions.
  QMenuBar* menuBar() const { return menuBar_; }
  QWidget* designArea() const { return designArea_; }
  QUndoStack& undoStack() const { return *undoStack_; }
  // Keeps the last sheet of this kind of window in the user's data folder.
  SheetRecovery& recovery() const { return *recovery_; }

  // The sheet file this window's sheet came from or was saved to last
  // (empty when none), and whether the sheet differs from it now. Undo and
  // redo bring back the file of the sheet they show.
  QString sheetPath() const;
  bool hasUnsavedChanges() const;
  // The fields of the sheet's variable-types record (empty: all continuous),
  // written after its last row in the file.
  const std::vector<std::string>& variableTypes() const { return variableTypes_; }

  // The file commands. openSheetFile asks about unsaved changes first;
  // both return whether the sheet was opened or saved.
  void openSheet();
  bool openSheetFile(const QString& path);
  bool saveSheet();
  bool saveSheetAs();
  // 恢复上次的表格: the kept sheet in place of this one, as one undo step;
  // it belongs to no file.
  void restoreLastSheet();

  // The block commands on the grid's selection.
  void copyBlock();
  void cutBlock();
  void pasteBlock();
  void clearBlock();
  void selectAllCells();
  void undo();
  void redo();

  // The commands, as their buttons run them.
  void ok();
  void calculate();
  void statistics();
  void about();

  // The decimal separator of the user's regional settings, for the reports.
  static std::string decimalSeparator();

 protected:
  // What a sheet read from a file makes of this window: empty `mismatch`
  // when it is a sheet of this window's kind, with its counts and sense.
  struct SheetFit {
    std::string mismatch;
    int variables = 0;
    int rows = 0;  // constraints or goals
    bool maximise = false;
    // The header texts are the layout's (else named freely by hand).
    bool as_laid_out = false;
  };
  virtual SheetFit fitSheet(const Sheet& sheet) const = 0;
  // The same for the other sheet window's kind, to tell a user who opened a
  // sheet in the wrong window where it belongs.
  virtual SheetFit fitOtherKind(const Sheet& sheet) const = 0;
  // The sheet as a file records it (LpWindow writes its sense cell from the
  // option buttons).
  virtual void prepareSheetForFile(Sheet& sheet) const;

  // A menu of its own, placed before 帮助: one call with its items.
  struct MenuItem {
    QString text;
    std::function<void()> run;
    QKeySequence shortcut = {};
  };
  QMenu* addMenu(const QString& title, std::initializer_list<MenuItem> items);
  // An item of the 文件 menu, placed before 退出.
  QAction* addFileMenuAction(const char* name, const char* text, std::function<void()> run);
  // Puts `sheet` (not from a sheet file), with the fields of its
  // variable-types record, in place of the window's as one undo step named
  // `step`; the sheet then belongs to no file. Otherwise returns why not,
  // and changes nothing.
  QString takeSheetFromElsewhere(const Sheet& sheet, const QString& step,
                                 const std::vector<std::string>& variableTypes = {});

  // OK: lay the sheet out for the counts read from the boxes.
  virtual void layOutSheet(int variables, int constraints) = 0;
  // Calculate with the counts read from the boxes now: everything the
  // calculation needs from the window is read here, on this thread; the job
  // returned runs on a worker thread and reads only the sheet, which cannot
  // change meanwhile.
  virtual CalculationJob prepareCalculation(int variables, int constraints) = 0;
  // Runs a command of the calculate kind as 计算 runs its own: `prepare`
  // with the counts read from the boxes now, its job on the worker thread,
  // then its messages and report.
  void runCalculationCommand(
      const std::function<CalculationJob(int variables, int constraints)>& prepare);
  // Runs one command; running out of memory ends it with a message and
  // leaves the sheet and the program as they were.
  void guarded(const std::function<void()>& command);
  // Sets the fields of the sheet's variable-types record as one undo step
  // named `step`.
  void setVariableTypes(std::vector<std::string> fields, const QString& step);
  // Whether the count boxes still say what the laid-out sheet holds. When
  // they do not (a count typed without 确定), says so and returns false: a
  // calculation would read the sheet with the wrong layout.
  bool countsMatchLayout();

  QGroupBox* panel_ = nullptr;
  QLabel* variableCountLabel_ = nullptr;
  QLabel* rowCountLabel_ = nullptr;
  QLabel* senseLabel_ = nullptr;
  QLineEdit* variableCountBox_ = nullptr;
  QLineEdit* constraintCountBox_ = nullptr;
  QRadioButton* maximumOption_ = nullptr;
  QRadioButton* minimumOption_ = nullptr;
  QPushButton* okButton_ = nullptr;
  QPushButton* calculateButton_ = nullptr;
  QPushButton* statisticsButton_ = nullptr;
  QPushButton* goalButton_ = nullptr;
  QPushButton* aboutButton_ = nullptr;
  QPushButton* exitButton_ = nullptr;
  SheetGrid* grid_ = nullptr;
  QLineEdit* numberEditor_ = nullptr;
  QComboBox* signDropDown_ = nullptr;

  void resizeEvent(QResizeEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  // The parts of the window, in the order the constructor makes them.
  void buildFrame();
  void buildGrid();
  void buildPanel();
  void buildEditors();
  void createParts();
  // The design's client size below the menu bar, and the smallest window.
  void setDesignSize();
  void connectCommands();
  void load();
  void createMenus();
  void createFileMenu();
  void createEditMenu();
  // An action of a menu bar menu; its shortcut works wherever the focus is
  // in the window.
  QAction* addMenuAction(QMenu* menu, const char* name, const char* text,
                         const QList<QKeySequence>& keys, std::function<void()> run);
  // What follows each change of the sheet: the caption's file, the kept sheet.
  void followSheetChanges();
  // The menu bar across the top, the design area below it.
  void placeMenuBar();
  // The sheet this window would write into a file now.
  Sheet sheetForFile() const;
  std::string fileBytes() const;
  // The sheet to keep for recovery: none before a sheet is laid out.
  std::optional<std::string> sheetToKeep() const;
  void updateRestoreAction();
  // When the sheet read from a file is one of this window's kind, puts it
  // (with its variable types) in place of the window's sheet as one undo
  // step named `step`; the sheet then belongs to `file` (none when empty).
  // Otherwise returns why not, and changes nothing.
  QString takeSheet(const SheetFileRead& read, const QString& step, const QString& file);
  // Empty when `sheet` is one this window takes; otherwise why not.
  QString sheetRefusal(const Sheet& sheet, const SheetFit& fit) const;
  // Lays out `fit`'s counts and fills the cells from `sheet`: every cell of
  // a sheet laid out by this program, the data cells (plain signs in their
  // cell form) of one named by hand.
  void fillFromSheet(const Sheet& sheet, const SheetFit& fit);
  WindowState captureState() const;
  void restoreState(const WindowState& state);
  // Pushes an undo step whose change is made already; the sheet it leaves
  // belongs to `file`.
  void pushStep(QUndoCommand* step, const QString& file);
  void pushWindowState(WindowState before, const QString& text, const QString& file);
  // Pushes an undo step for cells already written.
  void pushCellChanges(std::vector<CellChange> changes, const QString& text);
  QString recentKind() const;
  void applyResizeRule();
  // The messages one by one, then the report in the results window.
  void present(const CalculationOutcome& outcome);

  const SheetWindowDesign design_;
  CellEditing* editing_ = nullptr;
  QMenuBar* menuBar_ = nullptr;
  QWidget* designArea_ = nullptr;
  QMenu* helpMenu_ = nullptr;
  QMenu* editMenu_ = nullptr;  // also the grid's right-click menu
  QMenu* recentMenu_ = nullptr;
  QMenu* fileMenu_ = nullptr;
  QAction* exitSeparator_ = nullptr;  // in the 文件 menu, above 退出
  QUndoStack* undoStack_ = nullptr;
  SheetRecovery* recovery_ = nullptr;
  QAction* restoreAction_ = nullptr;
  SheetFileCommands* files_ = nullptr;
  std::unique_ptr<SheetClipboard> clipboard_;
  std::vector<std::string> variableTypes_;
};

}  // namespace orcalc::ui
