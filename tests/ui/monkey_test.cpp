// A seeded monkey run over both sheet windows: random clicks on cells and
// controls, typed characters (junk included), navigation keys, pasting,
// scrolling, resizing and the commands, with the modal windows and message
// boxes answered by the recording platform. After every event the run checks
// what must always hold:
//   - at most one in-place editor shows, and an editor that lost the focus is
//     hidden (an open text editor holds the focus; a drop-down that once had
//     the focus still has it);
//   - the count boxes hold digits only;
//   - Calculate and statistics show exactly the messages, in order, and the
//     report the core returns for the sheet and counts at the press, and leave
//     the sheet as it was; a calculation cancelled from its progress dialog
//     (some are made slow enough for the dialog, and 取消 is clicked at a
//     random moment) shows "计算已取消。" alone and nothing else.
// A failure names the window, the seed and the event; the run is repeatable
// from the seed. The suite runs fixed seeds; scripts/monkey runs more
// (ORCALC_MONKEY_SEEDS, _EVENTS).
#include <chrono>
#include <optional>
#include <random>
#include <thread>

#include "app/calculation_runner.h"
#include "common/numeric_reading.h"
#include "common/sheet_layout.h"
#include "goal/goal_commands.h"
#include "lp/lp_commands.h"
#include "sheet/cell_editing.h"
#include "stats/stats_command.h"
#include "support/window_helpers.h"

using namespace orcalc;
using namespace orcalc::ui;
using namespace orcalc::ui::testing;

namespace {

// The largest count the run leaves in a count box: every calculation is
// repeated in full by the checks.
constexpr int kMonkeyCount = 40;

// A sheet window whose next calculation can be made slow: it waits
// `nextDelayMs` (stopping when cancelled) before the real one runs.
struct SlowCalculations {
  int nextDelayMs = 0;
};

template <class Window>
class Slowed : public Window, public SlowCalculations {
 protected:
  CalculationJob prepareCalculation(int variables, int constraints) override {
    const auto delay = std::chrono::milliseconds(std::exchange(nextDelayMs, 0));
    return [job = Window::prepareCalculation(variables, constraints), delay](Progress& progress) {
      const auto end = std::chrono::steady_clock::now() + delay;
      while (std::chrono::steady_clock::now() < end) {
        if (progress.ShouldStop()) return CalculationOutcome{{}, std::nullopt, {}, true};
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
      }
      return job(progress);
    };
  }
};

// The controls and windows carry their design names.
QString describe(const QWidget* w) { return w ? w->objectName() : "nothing"; }

class Monkey : public QObject {
 public:
  Monkey(quint32 seed, int events) : rng_(seed), seed_(seed), limit_(events) {
    platform_.onModal = [this](QDialog* dialog) { onModal(dialog); };
    platform_.onProgress = [this] { onProgress(); };
  }

  QString failure;
  int events = 0, reports = 0, message_only = 0, lists_shown = 0, cancels = 0;

  // Works in `window` until the events are used up. Other windows opened on
  // the way are closed at once by the platform.
  void session(SheetWindow* window) {
    window->signDropDown()->installEventFilter(this);
    for (QPushButton* button : {window->calculateButton(), window->statisticsButton()}) {
      connect(button, &QPushButton::pressed, this, [=, this] { pressed(window, button); });
      connect(button, &QPushButton::clicked, this, [=, this] { finished(window); });
    }
    while (failure.isEmpty() && events < limit_) {
      window->show();  // after 退出 the program would end: start it again
      if (QApplication::activeWindow() != window) window->activateWindow();
      if (!expect(QTest::qWaitForWindowActive(window, 2000), "the window is not active")) return;
      // Counts stay small, so that every calculation can be repeated here.
      for (QLineEdit* box : {window->constraintCountBox(), window->variableCountBox()})
        if (ReadCount(box->text().toStdString()) > kMonkeyCount)
          box->setText(QString::number(uniform(0, kMonkeyCount)));
      act(window);
      settleAll();
      if (window->isVisible()) check(window);
    }
  }

 private:
  int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
  QPoint pointIn(const QRect& r) {
    return {uniform(r.left(), std::max(r.left(), r.right())),
            uniform(r.top(), std::max(r.top(), r.bottom()))};
  }

  bool expect(bool ok, const QString& what) {
    if (ok || !failure.isEmpty()) return ok;
    failure = QStringLiteral("seed %1, event %2: %3").arg(seed_).arg(events).arg(what);
    return false;
  }

  // Delivers what the last event queued; a popup left open is closed, as a
  // click elsewhere would.
  static void settleAll() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
    for (int i = 0; i < 5 && QApplication::activePopupWidget(); ++i)
      QApplication::activePopupWidget()->close();
    QCoreApplication::processEvents();
  }

  void act(SheetWindow* window) {
    ++events;
    QWidget* focus = window->focusWidget() ? window->focusWidget() : window;
    SheetGrid* g = window->grid();
    using enum Qt::Key;
    static const Qt::Key keys[] = {Key_Backspace, Key_Return,   Key_Return, Key_Escape,
                                   Key_Tab,       Key_Up,       Key_Down,   Key_Left,
                                   Key_Right,     Key_PageDown, Key_Home,   Key_Delete};
    switch (actions_(rng_)) {
      case 0: {  // a cell on screen: now and then a fixed one
        const int row = chance(0.05) ? 0 : std::min(g->topRow() + uniform(0, 12), g->rows() - 1);
        const int col = chance(0.05) ? 0 : std::min(g->leftCol() + uniform(0, 6), g->cols() - 1);
        const QRect cell = g->cellRect(row, col) & g->rect();
        return click(g, pointIn(cell.isEmpty() ? g->rect() : cell), chance(0.12));
      }
      case 1:  // below the menu bar (its menus have tests of their own)
        return click(window->designArea(), pointIn(window->designArea()->rect()));
      case 2:
        if (chance(0.63)) return typeCharacter(focus, randomCharacter());
        return QTest::keyClick(focus, keys[uniform(0, std::size(keys) - 1)]);
      case 3:  // near and beyond the range of a double, into a number cell
        if (focus == g) typeCharacter(focus, '1');  // opens the text editor
        settleAll();
        if (QApplication::focusWidget() != window->numberEditor()) return;
        return QTest::keyClicks(
            window->numberEditor(),
            QString{chance(0.5) ? uniform(15, 40) : uniform(300, 330), QChar('1' + uniform(0, 8))});
      case 4:
        return (chance(0.5) ? window->constraintCountBox() : window->variableCountBox())
            ->setText(QString::number(uniform(0, kMonkeyCount)));
      case 5:
        return pressButton(window);
      case 6:  // into the drop-down, or an item from its list
        if (window->signDropDown()->isHidden()) return QTest::keyClick(focus, Qt::Key_Down);
        if (chance(0.5))
          return click(window->signDropDown(), pointIn(window->signDropDown()->rect()));
        // The list may not come up: then there is nothing to pick, as after
        // a click that missed.
        lists_shown +=
            chooseFromList(window->signDropDown(), uniform(0, window->signDropDown()->count() - 1));
        return;
      case 7:  // now and then tiny, never empty (no window system makes one so)
        return window->resize(QSize{uniform(25, 1600), uniform(25, 1200)} / (chance(0.3) ? 25 : 1));
      default:  // junk on the clipboard, then Ctrl+V
        QGuiApplication::clipboard()->setText(QString(uniform(1, 8), randomCharacter()));
        return QTest::keyClick(focus, Qt::Key_V, Qt::ControlModifier);
    }
  }

  // A click at `pos` on `widget` reaches the visible widget there.
  void click(QWidget* widget, QPoint pos, bool twice = false) {
    QWidget* window = widget->window();
    pos = widget->mapTo(window, pos);
    QWidget* target = window->childAt(pos) ? window->childAt(pos) : window;
    QTest::mouseEvent(twice ? QTest::MouseDClick : QTest::MouseClick, target, Qt::LeftButton,
                      Qt::NoModifier, target->mapFrom(window, pos));
  }

  // Digits, points and minus signs, letters, punctuation, wide characters
  // and control characters.
  QChar randomCharacter() {
    static const QString pool = QStringLiteral(
        "012345678901234567890123456789.-.-.-.-aBcDeFgHiJ!\"#$%&'(*+,/:;<=>?@[\\]^_`{|}~ "
        "中文χ≥≤═αβ￥，。、：１２．－ｅ\x01\x02\x07\x0b\x0c\x0e\x14\x1c\x1f");
    return pool[uniform(0, int(pool.size()) - 1)];
  }

  void typeCharacter(QWidget* target, QChar c) {
    const bool ascii = c.unicode() > 32 && c.unicode() < 127;
    QTest::sendKeyEvent(QTest::Click, target,
                        ascii ? Qt::Key(c.toUpper().unicode()) : Qt::Key_unknown, QString(c), {});
  }

  void pressButton(SheetWindow* window) {
    QList<QWidget*> choices = {window->okButton(), window->calculateButton(),
                               window->calculateButton(), window->statisticsButton(),
                               window->aboutButton()};
    if (window->maximumOption())
      choices << window->maximumOption() << window->minimumOption() << window->goalButton();
    if (chance(0.02)) choices = {window->exitButton()};
    QWidget* widget = choices[uniform(0, int(choices.size()) - 1)];
    click(widget, pointIn(widget->rect()));
  }

  // What a command must show, computed when its button goes down (an open
  // editor has committed by then) from the sheet and counts of that moment.
  struct Expected {
    Sheet sheet;
    CalculationOutcome outcome;
    qsizetype messages_before = 0, modals_before = 0;
    bool cancelled = false;  // 取消 was clicked
  };

  // Clicks 取消 now and then, at a random moment while the dialog may
  // still show (the calculation may end first).
  void onProgress() {
    if (!expected_ || chance(0.25)) return;
    QTimer::singleShot(uniform(0, 400), this, [this, calculation = calculations_] {
      if (calculation != calculations_ || !expected_ || !platform_.pressCancel) return;
      expected_->cancelled = true;
      platform_.pressCancel();
    });
  }

  void onModal(QDialog* dialog) {
    auto* results = qobject_cast<ResultsWindow*>(dialog);
    if (!results || !expect(expected_.has_value(), "a results window outside the commands")) return;
    const CalculationOutcome& outcome = expected_->outcome;
    expect(outcome.report && results->reportBytes().toStdString() == *outcome.report,
           "a results window with another report than the core's");
    expect(platform_.messages.size() - expected_->messages_before ==
               qsizetype(outcome.messages.size()),
           "the results window came before the messages ended");
  }

  void pressed(SheetWindow* window, QPushButton* command) {
    ++calculations_;
    // Now and then a calculation long enough for the progress dialog.
    if (auto* slow = dynamic_cast<SlowCalculations*>(window);
        slow && command == window->calculateButton())
      slow->nextDelayMs = chance(0.03) ? uniform(kProgressDelayMs + 20, 2 * kProgressDelayMs) : 0;
    Expected e{window->grid()->sheet(), {}, platform_.messages.size(), platform_.modalCount};
    const int variables = ReadCount(window->variableCountBox()->text().toStdString()),
              rows = ReadCount(window->constraintCountBox()->text().toStdString());
    const auto* form1 = qobject_cast<const LpWindow*>(window);
    const std::string point = SheetWindow::decimalSeparator();
    using enum stats::SheetKind;
    // A count typed without 确定: the calculation refuses to read the sheet.
    const SheetLayout layout = form1 ? kLpSheetLayout : kGoalSheetLayout;
    const bool stale = layout.CountFromRows(e.sheet.rows()) != rows ||
                       layout.VariablesFromCols(e.sheet.cols()) != variables;
    if (command != window->statisticsButton() && stale)
      e.outcome.messages = {"变量数或约束方程数已改变，请先按“确定”。"};
    else if (command == window->statisticsButton())
      e.outcome = stats::Calculate({window->editing().recordedCol(), rows,
                                    form1 ? LinearProgramming : GoalProgramming, point},
                                   e.sheet);
    else if (form1)
      e.outcome = lp::Calculate({variables, rows, form1->sense(), point}, e.sheet);
    else
      e.outcome = goal::Calculate({rows, variables, point}, e.sheet);
    expected_ = std::move(e);
  }

  void finished(SheetWindow* window) {
    if (!expect(expected_.has_value(), "a command ran unpressed")) return;
    const Expected e = std::move(*std::exchange(expected_, std::nullopt));
    expect(window->grid()->sheet() == e.sheet, "the command changed the sheet");
    if (e.cancelled) {
      expect(platform_.messages.mid(e.messages_before) == QStringList{kCancelledMessage},
             "取消 did not end with its one message");
      expect(platform_.modalCount == e.modals_before, "a results window after 取消");
      ++cancels;
      return;
    }
    QStringList messages;
    for (const std::string& m : e.outcome.messages) messages << QString::fromStdString(m);
    expect(platform_.messages.mid(e.messages_before) == messages,
           "the messages shown are not the core's: " + messages.join(" | "));
    expect(platform_.modalCount - e.modals_before == (e.outcome.report ? 1 : 0),
           "not one results window for a report, or one without");
    ++(e.outcome.report ? reports : message_only);
  }

  // Whether a drop-down had the focus since it last showed: one shown over a
  // clicked sign cell leaves the focus on the grid until it is clicked itself.
  bool eventFilter(QObject* combo, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) combo_had_focus_ = true;
    if (event->type() == QEvent::Show) combo_had_focus_ = static_cast<QWidget*>(combo)->hasFocus();
    return false;
  }

  void check(SheetWindow* window) {
    const bool text_open = !window->numberEditor()->isHidden(),
               combo_open = !window->signDropDown()->isHidden();
    QWidget* focus = window->focusWidget();
    expect(!(text_open && combo_open), "both editors show");
    expect(!text_open || focus == window->numberEditor(),
           "the text editor shows without the focus, on " + describe(focus));
    expect(!combo_open || !combo_had_focus_ || focus == window->signDropDown() ||
               window->signDropDown()->isAncestorOf(focus),
           "the drop-down lost the focus but still shows; the focus is on " + describe(focus));
    expect(!expected_, "a command went down but never ran");
    for (QLineEdit* box : {window->constraintCountBox(), window->variableCountBox()})
      expect(!box->text().contains(QRegularExpression(QStringLiteral("[^0-9]"))),
             describe(box) + " holds \"" + box->text() + "\"");
  }

  std::mt19937 rng_;
  // Cell, anywhere, key, long number, count, button, list, resize, paste.
  std::discrete_distribution<int> actions_{{28, 6, 34, 2, 5, 14, 4, 2, 2}};
  quint32 seed_;
  int limit_;
  RecordingPlatform platform_;
  std::optional<Expected> expected_;
  int calculations_ = 0;
  bool combo_had_focus_ = false;
};

}  // namespace

class MonkeyTest : public QObject {
  Q_OBJECT

 private slots:
  // Seeds and events per window: ORCALC_MONKEY_SEEDS (a comma-separated list)
  // and ORCALC_MONKEY_EVENTS, as scripts/monkey sets them.
  void monkey() {
    const int limit = qEnvironmentVariable("ORCALC_MONKEY_EVENTS", "4000").toInt();
    int events = 0, lists_shown = 0, cancels = 0;
    for (const QString& seed : qEnvironmentVariable("ORCALC_MONKEY_SEEDS", "11,12").split(','))
      for (bool goal : {false, true}) {
        const std::unique_ptr<SheetWindow> window =
            goal ? std::unique_ptr<SheetWindow>(new Slowed<GoalWindow>)
                 : std::make_unique<Slowed<LpWindow>>();
        Monkey monkey(seed.trimmed().toUInt(), limit);
        monkey.session(window.get());
        QVERIFY2(monkey.failure.isEmpty(),
                 qPrintable(describe(window.get()) + ": " + monkey.failure));
        // A run that never got a report or a message from a command proves
        // little.
        QVERIFY(monkey.events < 1000 || (monkey.reports > 0 && monkey.message_only > 0));
        lists_shown += monkey.lists_shown;
        cancels += monkey.cancels;
        events += monkey.events;
      }
    // Nor one that never picked from the drop-down's list, or never
    // cancelled a calculation.
    QVERIFY(events < 8000 || lists_shown > 0);
    QVERIFY(events < 8000 || cancels > 0);
  }
};

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
