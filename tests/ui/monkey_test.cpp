// A seeded monkey run over both sheet windows: thousands of random clicks on
// cells and controls, typed characters (junk included), navigation keys,
// scrolling, resizing, pasting and the commands, with the modal windows and
// message boxes answered by the recording platform. After every event the
// run checks what must always hold:
//   - at most one in-place editor shows, and an editor that lost the focus
//     is hidden (an open text editor holds the window's focus; a drop-down
//     that once had the focus still has it);
//   - a text editor that closes has written its text, normalised, into the
//     cell it was opened on;
//   - the count boxes hold digits only and the drop-down holds the three signs;
//   - OK lays out exactly the sheet the core lays out from the sheet before;
//   - Calculate and statistics show exactly the messages, in order, and the
//     report the core returns for the sheet and counts of that moment, leave
//     the sheet as it was, and stay fast.
// A failure names the seed, the event and the last actions. The suite runs
// fixed seeds; scripts/monkey runs more (ORCALC_MONKEY_SEEDS, _EVENTS).
#include <Qsci/qsciscintilla.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QElapsedTimer>
#include <QGroupBox>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QWheelEvent>
#include <QtTest>
#include <deque>
#include <optional>
#include <random>

#include "app/form1.h"
#include "app/form3.h"
#include "goal/goal_commands.h"
#include "lp/lp_commands.h"
#include "platform/ansi_file.h"
#include "results/form2.h"
#include "sheet/cell_editing.h"
#include "sheet/sheet_grid.h"
#include "stats/stats_command.h"
#include "support/recording_platform.h"

using namespace orcalc;
using namespace orcalc::ui;
using orcalc::ui::testing::RecordingPlatform;

namespace {

#if defined(__SANITIZE_ADDRESS__)
constexpr bool kSanitized = true;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
constexpr bool kSanitized = true;
#else
constexpr bool kSanitized = false;
#endif
#else
constexpr bool kSanitized = false;
#endif

// The largest count the monkey types into a count box.
constexpr int kMaxMonkeyCount = 40;
// The longest a calculation of such a sheet may take in the core.
constexpr double kCalculationSeconds = kSanitized ? 10.0 : 1.0;

const QString kDesignResultsTitle = QStringLiteral("线性规划计算结果");

QString normalisedNumber(const QString& text) {
  if (text.startsWith(QLatin1Char('.'))) return QLatin1Char('0') + text;
  if (text.endsWith(QLatin1Char('.'))) return text + QLatin1Char('0');
  return text;
}

bool digitsOnly(const QString& text) {
  for (QChar c : text) {
    if (c < QLatin1Char('0') || c > QLatin1Char('9')) return false;
  }
  return true;
}

QString digitsOf(const QString& text) {
  QString digits;
  for (QChar c : text) {
    if (c >= QLatin1Char('0') && c <= QLatin1Char('9')) digits += c;
  }
  return digits;
}

// A count-box text's value, saturated well above the monkey's limit.
int countValue(const QString& digits) {
  QString t = digits;
  while (t.size() > 1 && t.startsWith(QLatin1Char('0'))) t.remove(0, 1);
  if (t.size() > 4) return 100000;
  return t.isEmpty() ? 0 : t.toInt();
}

// The text a line edit would hold after `insert` replaces its selection or
// lands at its caret.
QString afterInsertion(const QLineEdit* box, const QString& insert) {
  QString text = box->text();
  int pos = box->cursorPosition();
  if (box->hasSelectedText()) {
    pos = box->selectionStart();
    text.remove(pos, box->selectedText().size());
  }
  return text.insert(pos, insert);
}

QString describe(const QWidget* w) {
  if (!w) return QStringLiteral("nothing");
  const QString name = w->objectName();
  return QString::fromLatin1(w->metaObject()->className()) +
         (name.isEmpty() ? QString() : QLatin1Char(' ') + name);
}

bool within(const QWidget* w, const QWidget* ancestor) {
  return w && (w == ancestor || ancestor->isAncestorOf(w));
}

// What one command must do, taken when its button is pressed (after any
// open editor committed on losing the focus to the button).
struct Expectation {
  enum class Kind { Layout, Outcome } kind = Kind::Outcome;
  QString command;
  Sheet before;
  Sheet laid_out;              // Layout: the sheet OK must produce
  CalculationOutcome outcome;  // Outcome: what the window must show
  qsizetype messages_before = 0;
  struct Shown {
    std::string text;
    QString title;
    QString label;
    qsizetype messages_before = 0;
  };
  QList<Shown> shown;  // results windows opened by the command
};

struct Summary {
  int events = 0;
  int layouts = 0;
  int reports = 0;
  int message_only = 0;
  int statistics = 0;
  int commits_checked = 0;
  int goal_windows = 0;
  int results_saved = 0;
  double slowest_calculation = 0;
};

// Watches one sheet window: whether its drop-down had the focus since it
// last showed.
class WindowWatch : public QObject {
 public:
  explicit WindowWatch(SheetWindow* window) : QObject(window), combo_(window->Combo3) {
    combo_->installEventFilter(this);
    if (QLineEdit* field = combo_->lineEdit()) field->installEventFilter(this);
  }
  bool combo_had_focus = false;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::FocusIn) combo_had_focus = true;
    if (watched == combo_ && event->type() == QEvent::Show) combo_had_focus = combo_->hasFocus();
    return false;
  }

 private:
  QComboBox* combo_;
};

class Monkey {
 public:
  Monkey(quint32 seed, int events, RecordingPlatform& platform)
      : rng_(seed), seed_(seed), budget_(events), platform_(platform) {
    platform_.onModal = [this](QDialog* dialog) { onModal(dialog); };
  }
  ~Monkey() { platform_.onModal = nullptr; }

  // Runs the whole budget on `window`; returns the first failure, or an
  // empty text.
  QString run(SheetWindow* window) {
    session(window, 0, budget_);
    return failure_;
  }

  const Summary& summary() const { return summary_; }

 private:
  // ------------------------------------------------------------ plumbing

  int uniform(int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng_); }
  bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(rng_) < p; }
  template <typename T>
  const T& pick(const QList<T>& items) {
    return items[uniform(0, static_cast<int>(items.size()) - 1)];
  }

  void note(const QString& action) {
    trail_.push_back(QStringLiteral("#%1 %2").arg(summary_.events).arg(action));
    if (trail_.size() > 40) trail_.pop_front();
  }

  bool expect(bool ok, const QString& what) {
    if (ok || !failure_.isEmpty()) return ok;
    QString trail;
    for (const QString& line : trail_) trail += QStringLiteral("\n  ") + line;
    failure_ = QStringLiteral("seed %1, event %2: %3\nlast actions:%4")
                   .arg(seed_)
                   .arg(summary_.events)
                   .arg(what, trail);
    return false;
  }

  bool running() const { return failure_.isEmpty() && budget_ > 0; }

  void spend() {
    ++summary_.events;
    --budget_;
  }

  // Delivers what the last event queued (a forwarded key, a queued arrow
  // key, repaints); a popup left open is closed, as a click elsewhere would.
  static void settle() {
    for (int i = 0; i < 3; ++i) {
      QCoreApplication::sendPostedEvents();
      QCoreApplication::processEvents();
    }
    for (int i = 0; i < 5 && QApplication::activePopupWidget(); ++i) {
      QApplication::activePopupWidget()->close();
      QCoreApplication::processEvents();
    }
  }

  // The window system activates the window the user works in.
  bool activate(QWidget* window) {
    if (QApplication::activeWindow() == window) return true;
    window->activateWindow();
    return expect(QTest::qWaitForWindowActive(window, 2000),
                  QStringLiteral("%1 cannot be activated").arg(describe(window)));
  }

  // A click (or double-click) at `pos` in the window reaches the visible
  // widget there, as the pointer would.
  void clickAt(QWidget* window, QPoint pos, bool twice = false) {
    QWidget* target = window->childAt(pos);
    if (!target) target = window;
    const QPoint local = target->mapFrom(window, pos);
    note(QStringLiteral("%1 at (%2,%3) on %4")
             .arg(twice ? "double-click" : "click")
             .arg(pos.x())
             .arg(pos.y())
             .arg(describe(target)));
    if (twice)
      QTest::mouseDClick(target, Qt::LeftButton, Qt::NoModifier, local);
    else
      QTest::mouseClick(target, Qt::LeftButton, Qt::NoModifier, local);
  }

  void clickWidget(QWidget* widget, QWidget* window) {
    const QRect r = widget->rect();
    const QPoint p(uniform(0, std::max(r.width() - 1, 0)), uniform(0, std::max(r.height() - 1, 0)));
    clickAt(window, widget->mapTo(window, p));
  }

  // ---------------------------------------------------------- the session

  void session(SheetWindow* window, int depth, int quota) {
    QPointer<SheetWindow> guard(window);
    auto* watch = new WindowWatch(window);
    connectCommands(window);
    window->show();
    if (!activate(window)) return;
    const int stop_at = summary_.events + quota;
    while (running() && summary_.events < stop_at) {
      if (!guard || !window->isVisible()) break;
      if (!activate(window)) return;
      rememberTextEditor(window);
      act(window, depth, watch);
      settle();
      if (!guard) return;
      if (!window->isVisible()) {
        if (depth > 0) return;  // 退出 or the close box on the goal window
        // On a main window the program would end here: start it again.
        window->show();
        continue;
      }
      checkTextEditorCommit(window);
      checkInvariants(window, watch);
    }
  }

  void act(SheetWindow* window, int depth, const WindowWatch* watch) {
    enum Action {
      kClickCell,
      kDoubleClickCell,
      kClickAnywhere,
      kType,
      kBurst,
      kLongNumber,
      kSetCount,
      kButton,
      kPopup,
      kWheel,
      kScrollBar,
      kResize,
      kPaste,
      kCompose,
      kActionCount
    };
    static const double weights[kActionCount] = {26, 4, 5, 30, 4, 1.5, 5, 14, 2, 6, 3, 2, 2, 1};
    std::discrete_distribution<int> which(std::begin(weights), std::end(weights));
    switch (which(rng_)) {
      case kClickCell:
        clickCell(window, false);
        break;
      case kDoubleClickCell:
        clickCell(window, true);
        break;
      case kClickAnywhere:
        clickAnywhere(window);
        break;
      case kType:
        typeKey(window);
        break;
      case kBurst:
        // Typing fast: each key is checked as a separate event. A key may
        // open a modal window; its window is active again for the next.
        for (int i = uniform(3, 20); i > 0 && running() && window->isVisible(); --i) {
          if (!activate(window)) break;
          typeKey(window);
          settle();
          if (i == 1) break;  // the last one is checked by the session
          checkTextEditorCommit(window);
          checkInvariants(window, watch);
          rememberTextEditor(window);
        }
        break;
      case kLongNumber:
        longNumber(window);
        break;
      case kSetCount:
        setCount(window);
        break;
      case kButton:
        pressButton(window, depth);
        break;
      case kPopup:
        dropDownList(window);
        break;
      case kWheel:
        wheel(window);
        break;
      case kScrollBar:
        dragScrollBar(window);
        break;
      case kResize:
        resize(window);
        break;
      case kPaste:
        paste(window);
        break;
      case kCompose:
        compose(window);
        break;
      default:
        break;
    }
  }

  // ------------------------------------------------------------- actions

  void clickCell(SheetWindow* window, bool twice) {
    spend();
    SheetGrid* grid = window->MSFlexGrid1;
    // A cell on screen: the fixed row or column now and then, else a
    // scrolled one from the top row and left column on.
    int row = chance(0.05) ? 0 : grid->topRow() + uniform(0, 12);
    int col = chance(0.05) ? 0 : grid->leftCol() + uniform(0, 6);
    row = std::min(row, grid->rows() - 1);
    col = std::min(col, grid->cols() - 1);
    QRect cell = grid->cellRect(row, col) & grid->rect();
    if (cell.isEmpty()) cell = grid->rect();
    if (cell.isEmpty()) return clickAnywhere(window);
    const QPoint p(cell.x() + uniform(0, cell.width() - 1),
                   cell.y() + uniform(0, cell.height() - 1));
    clickAt(window, grid->mapTo(window, p), twice);
  }

  void clickAnywhere(SheetWindow* window) {
    spend();
    clickAt(window, QPoint(uniform(0, std::max(window->width() - 1, 0)),
                           uniform(0, std::max(window->height() - 1, 0))));
  }

  // Where typing goes: the focused control of the window.
  QWidget* keyboardTarget(SheetWindow* window) {
    QWidget* focus = QApplication::focusWidget();
    if (!within(focus, window)) focus = window->focusWidget();
    return focus ? focus : window;
  }

  struct Key {
    Qt::Key key = Qt::Key_unknown;
    QString text;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    QString name;
  };

  Key randomKey() {
    static const QList<Key> specials = {
        {Qt::Key_Backspace, QStringLiteral("\b"), Qt::NoModifier, "Backspace"},
        {Qt::Key_Return, QStringLiteral("\r"), Qt::NoModifier, "Enter"},
        {Qt::Key_Return, QStringLiteral("\r"), Qt::NoModifier, "Enter"},
        {Qt::Key_Escape, QString(QChar(27)), Qt::NoModifier, "Escape"},
        {Qt::Key_Tab, QStringLiteral("\t"), Qt::NoModifier, "Tab"},
        {Qt::Key_Backtab, QString(), Qt::ShiftModifier, "Shift+Tab"},
        {Qt::Key_Up, QString(), Qt::NoModifier, "Up"},
        {Qt::Key_Up, QString(), Qt::NoModifier, "Up"},
        {Qt::Key_Down, QString(), Qt::NoModifier, "Down"},
        {Qt::Key_Down, QString(), Qt::NoModifier, "Down"},
        {Qt::Key_Left, QString(), Qt::NoModifier, "Left"},
        {Qt::Key_Right, QString(), Qt::NoModifier, "Right"},
        {Qt::Key_PageUp, QString(), Qt::NoModifier, "PageUp"},
        {Qt::Key_PageDown, QString(), Qt::NoModifier, "PageDown"},
        {Qt::Key_Home, QString(), Qt::ControlModifier, "Ctrl+Home"},
        {Qt::Key_End, QString(), Qt::NoModifier, "End"},
        {Qt::Key_Delete, QString(QChar(127)), Qt::NoModifier, "Delete"},
        {Qt::Key_Space, QStringLiteral(" "), Qt::NoModifier, "Space"},
        {Qt::Key_A, QStringLiteral("\x01"), Qt::ControlModifier, "Ctrl+A"},
        {Qt::Key_Z, QStringLiteral("\x1a"), Qt::ControlModifier, "Ctrl+Z"},
    };
    static const QString punctuation = QStringLiteral("!\"#$%&'()*+,/:;<=>?@[\\]^_`{|}~");
    static const QString wide = QStringLiteral("中文χ≥≤═αβ￥，。、：１２．－ｅ");
    const int kind = uniform(0, 99);
    QString text;
    if (kind < 34) {
      text = QChar('0' + uniform(0, 9));
    } else if (kind < 44) {
      text = chance(0.5) ? QStringLiteral(".") : QStringLiteral("-");
    } else if (kind < 52) {
      text = QChar((chance(0.5) ? 'a' : 'A') + uniform(0, 25));
    } else if (kind < 57) {
      text = punctuation[uniform(0, static_cast<int>(punctuation.size()) - 1)];
    } else if (kind < 61) {
      text = chance(0.5) ? QString(wide[uniform(0, static_cast<int>(wide.size()) - 1)])
                         : QString(QChar(0x4E00 + uniform(0, 0x51FF)));
    } else if (kind < 63) {
      // A control character typed as text, with no key of its own.
      static const QList<int> controls = {1, 2, 7, 11, 12, 14, 20, 28, 31};
      return Key{Qt::Key_unknown, QString(QChar(pick(controls))), Qt::NoModifier,
                 QStringLiteral("control character")};
    } else {
      return pick(specials);
    }
    const QChar c = text[0];
    Qt::Key key = Qt::Key_unknown;
    if (c.unicode() < 128) key = static_cast<Qt::Key>(c.toUpper().unicode());
    return Key{key, text, Qt::NoModifier, QStringLiteral("'%1'").arg(text)};
  }

  void sendKey(QWidget* target, const Key& key) {
    note(QStringLiteral("key %1 to %2").arg(key.name, describe(target)));
    QTest::sendKeyEvent(QTest::Click, target, key.key, key.text, key.modifiers);
  }

  // A count box takes no digits that would make its count pass the
  // monkey's limit (the calculations must stay small); a junk character
  // goes instead.
  Key keepCountSmall(QWidget* target, Key key) {
    auto* box = qobject_cast<QLineEdit*>(target);
    if (!box || !isCountBox(box)) return key;
    if (digitsOf(key.text).isEmpty() || key.modifiers != Qt::NoModifier) return key;
    if (countValue(digitsOf(afterInsertion(box, key.text))) <= kMaxMonkeyCount) return key;
    return Key{Qt::Key_X, QStringLiteral("x"), Qt::NoModifier, QStringLiteral("'x'")};
  }

  bool isCountBox(const QWidget* w) const {
    for (const SheetWindow* window : windows_) {
      if (w == window->Text1 || w == window->Text2) return true;
    }
    return false;
  }

  void typeKey(SheetWindow* window) {
    spend();
    QWidget* target = keyboardTarget(window);
    sendKey(target, keepCountSmall(target, randomKey()));
  }

  // A long run of digits into a number cell: values near and beyond the
  // range of a double.
  void longNumber(SheetWindow* window) {
    spend();
    const int digits = chance(0.5) ? uniform(15, 40) : uniform(300, 330);
    QString text;
    for (int i = 0; i < digits; ++i) text += QChar('1' + uniform(0, 8));
    QWidget* target = keyboardTarget(window);
    if (target == window->MSFlexGrid1) {
      // The first digit opens the text editor (outside the sign column).
      sendKey(target, Key{Qt::Key_1, QStringLiteral("1"), Qt::NoModifier, "'1'"});
      settle();
      target = keyboardTarget(window);
    }
    if (target != window->Text8) return;
    note(QStringLiteral("%1 digits into Text8").arg(digits));
    for (QChar c : text)
      QTest::sendKeyEvent(QTest::Click, target, Qt::Key(c.unicode()), QString(c), {});
  }

  void setCount(SheetWindow* window) {
    spend();
    QLineEdit* box = chance(0.5) ? window->Text1 : window->Text2;
    clickWidget(box, window);
    settle();
    if (QApplication::focusWidget() != box) return;
    sendKey(box, Key{Qt::Key_A, QStringLiteral("\x01"), Qt::ControlModifier, "Ctrl+A"});
    const int count = uniform(0, kMaxMonkeyCount);
    QString typed = QString::number(count);
    if (chance(0.2)) typed.prepend(QLatin1Char('0'));
    for (QChar c : typed) {
      if (chance(0.15)) {
        sendKey(box, chance(0.5) ? Key{Qt::Key_Return, "\r", {}, "Enter"}
                                 : Key{Qt::Key_Minus, "-", {}, "'-'"});
      }
      if (countValue(digitsOf(afterInsertion(box, QString(c)))) > kMaxMonkeyCount) break;
      sendKey(box,
              Key{Qt::Key(c.unicode()), QString(c), Qt::NoModifier, QStringLiteral("'%1'").arg(c)});
    }
    if (chance(0.5)) sendKey(box, Key{Qt::Key_Tab, "\t", {}, "Tab"});
  }

  void pressButton(SheetWindow* window, int depth) {
    spend();
    QList<QWidget*> choices = {window->Command1, window->Command2, window->Command2,
                               window->Command2, window->Command1, window->Command3,
                               window->Command5, window->Label1,   window->Frame1};
    if (window->Option1[0]) choices << window->Option1[0] << window->Option1[1];
    if (window->Command4 && depth == 0) choices << window->Command4 << window->Command4;
    if (chance(depth > 0 ? 0.05 : 0.01)) choices = {window->Command6};
    QWidget* widget = pick(choices);
    if (auto* button = qobject_cast<QPushButton*>(widget);
        button && chance(0.2) && button->isEnabled()) {
      // From the keyboard: Tab brings the focus to the button, then Space
      // or Enter presses it.
      note(QStringLiteral("focus to %1").arg(describe(button)));
      button->setFocus(Qt::TabFocusReason);
      settle();
      if (button->hasFocus()) {
        sendKey(button, chance(0.5) ? Key{Qt::Key_Space, " ", {}, "Space"}
                                    : Key{Qt::Key_Return, "\r", {}, "Enter"});
      }
      return;
    }
    clickWidget(widget, window);
  }

  // The drop-down's own list, opened with the arrow: an item is chosen, or
  // the list is closed with Escape.
  void dropDownList(SheetWindow* window) {
    spend();
    QComboBox* combo = window->Combo3;
    if (combo->isHidden()) return typeKey(window);
    clickAt(window,
            combo->mapTo(window, QPoint(std::max(combo->width() - 4, 0), combo->height() / 2)));
    QCoreApplication::processEvents();
    QAbstractItemView* view = combo->view();
    if (!view || !view->isVisible()) return;
    if (chance(0.7)) {
      const QModelIndex index = combo->model()->index(uniform(0, combo->count() - 1), 0);
      note(QStringLiteral("choose item %1").arg(index.row()));
      QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier,
                        view->visualRect(index).center());
    } else {
      note(QStringLiteral("Escape in the list"));
      QTest::keyClick(view, Qt::Key_Escape);
    }
  }

  void wheel(SheetWindow* window) {
    spend();
    QWidget* target = nullptr;
    QPoint pos;
    if (chance(0.85)) {
      SheetGrid* grid = window->MSFlexGrid1;
      pos = grid->mapTo(window, QPoint(uniform(0, std::max(grid->width() - 1, 0)),
                                       uniform(0, std::max(grid->height() - 1, 0))));
    } else {
      pos = QPoint(uniform(0, std::max(window->width() - 1, 0)),
                   uniform(0, std::max(window->height() - 1, 0)));
    }
    target = window->childAt(pos);
    if (!target) target = window;
    const int steps = uniform(1, 4) * (chance(0.5) ? 1 : -1);
    const bool horizontal = chance(0.3);
    const QPoint delta = horizontal ? QPoint(120 * steps, 0) : QPoint(0, 120 * steps);
    note(QStringLiteral("wheel %1 %2 on %3")
             .arg(horizontal ? "across" : "down")
             .arg(steps)
             .arg(describe(target)));
    // Passed up to the parents until one takes it, as the toolkit does.
    for (QWidget* w = target; w; w = w->isWindow() ? nullptr : w->parentWidget()) {
      const QPointF local = w->mapFrom(window, pos);
      QWheelEvent event(local, w->mapToGlobal(local), QPoint(), delta, Qt::NoButton, Qt::NoModifier,
                        Qt::NoScrollPhase, false);
      QCoreApplication::sendEvent(w, &event);
      if (event.isAccepted()) break;
    }
  }

  void dragScrollBar(SheetWindow* window) {
    spend();
    SheetGrid* grid = window->MSFlexGrid1;
    QScrollBar* bar = chance(0.6) ? grid->verticalScrollBar() : grid->horizontalScrollBar();
    if (!bar->isVisible() || bar->width() < 2 || bar->height() < 2) return wheel(window);
    const QPoint from(uniform(0, bar->width() - 1), uniform(0, bar->height() - 1));
    if (chance(0.5)) {
      clickAt(window, bar->mapTo(window, from));
      return;
    }
    const QPoint to(uniform(0, bar->width() - 1), uniform(0, bar->height() - 1));
    note(QStringLiteral("drag on %1 scroll bar")
             .arg(bar == grid->verticalScrollBar() ? "vertical" : "horizontal"));
    QTest::mousePress(bar, Qt::LeftButton, Qt::NoModifier, from);
    QTest::mouseMove(bar, to);
    QTest::mouseRelease(bar, Qt::LeftButton, Qt::NoModifier, to);
  }

  void resize(QWidget* window) {
    spend();
    QSize size;
    switch (uniform(0, 3)) {
      case 0:
        size = QSize(uniform(1, 60), uniform(1, 60));
        break;
      case 1:
        size = QSize(uniform(60, 400), uniform(60, 300));
        break;
      case 2:
        size = QSize(uniform(400, 900), uniform(300, 700));
        break;
      default:
        size = QSize(uniform(900, 1600), uniform(700, 1100));
        break;
    }
    note(QStringLiteral("resize to %1 x %2").arg(size.width()).arg(size.height()));
    window->resize(size);
  }

  // Junk with a few digits on the clipboard, then Ctrl+V into the focused
  // control.
  void paste(SheetWindow* window) {
    spend();
    QString junk;
    for (int i = uniform(1, 8); i > 0; --i) {
      const Key key = randomKey();
      if (!key.text.isEmpty() && key.modifiers == Qt::NoModifier) junk += key.text;
    }
    QWidget* target = keyboardTarget(window);
    if (auto* box = qobject_cast<QLineEdit*>(target); box && isCountBox(box)) {
      if (countValue(digitsOf(afterInsertion(box, digitsOf(junk)))) > kMaxMonkeyCount) {
        junk.remove(QRegularExpression(QStringLiteral("[0-9]")));
      }
    }
    QGuiApplication::clipboard()->setText(junk);
    note(QStringLiteral("clipboard \"%1\"").arg(junk.toHtmlEscaped()));
    sendKey(target, Key{Qt::Key_V, QStringLiteral("\x16"), Qt::ControlModifier, "Ctrl+V"});
  }

  // Text committed by an input method into the focused control.
  void compose(SheetWindow* window) {
    spend();
    QString text =
        pick(QList<QString>{QStringLiteral("中文"), QStringLiteral("１２"), QStringLiteral("3.5"),
                            QStringLiteral("-7a"), QStringLiteral("≤"), QStringLiteral("9")});
    QWidget* target = keyboardTarget(window);
    if (auto* box = qobject_cast<QLineEdit*>(target); box && isCountBox(box)) {
      if (countValue(digitsOf(afterInsertion(box, digitsOf(text)))) > kMaxMonkeyCount) text = "x";
    }
    note(QStringLiteral("input method \"%1\" to %2").arg(text, describe(target)));
    QInputMethodEvent event;
    event.setCommitString(text);
    QCoreApplication::sendEvent(target, &event);
  }

  // ------------------------------------------------------ modal windows

  void onModal(QDialog* dialog) {
    if (auto* results = qobject_cast<Form2*>(dialog)) return resultsWindow(results);
    if (auto* goal = qobject_cast<Form3*>(dialog)) {
      ++summary_.goal_windows;
      expect(goal->isModal(), QStringLiteral("the goal-programming window is not modal"));
      session(goal, 1, std::min(budget_, uniform(20, 400)));
      if (goal && goal->isVisible() && chance(0.5)) {
        note(QStringLiteral("close the goal-programming window"));
        goal->close();
      }
      return;
    }
    // The About box: its OK button, or the close box.
    if (auto* ok = dialog->findChild<QPushButton*>(QStringLiteral("cmdOK")); ok && chance(0.5)) {
      note(QStringLiteral("OK on %1").arg(describe(dialog)));
      QTest::mouseClick(ok, Qt::LeftButton);
    }
  }

  void resultsWindow(Form2* form) {
    if (expectation_) {
      expectation_->shown << Expectation::Shown{form->reportBytes().toStdString(),
                                                form->windowTitle(), form->Label1->text(),
                                                platform_.messages.size()};
    } else {
      expect(false, QStringLiteral("a results window opened outside Calculate and statistics"));
    }
    QPointer<Form2> guard(form);
    for (int i = chance(0.3) ? uniform(1, 8) : 0; i > 0 && guard && running(); --i) {
      spend();
      switch (uniform(0, 4)) {
        case 0:
          sendKey(form->Text1, randomKey());
          break;
        case 1: {
          note(QStringLiteral("wheel on the report"));
          QWheelEvent event(QPointF(10, 10), form->Text1->mapToGlobal(QPointF(10, 10)), QPoint(),
                            QPoint(0, -360), Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase,
                            false);
          QCoreApplication::sendEvent(form->Text1->viewport(), &event);
          break;
        }
        case 2:
          resize(form);
          break;
        case 3:
          note(QStringLiteral("save, cancelled"));
          platform_.nextSavePath.clear();
          QTest::mouseClick(form->Command2, Qt::LeftButton);
          break;
        default:
          saveReport(form);
          break;
      }
      settle();
    }
    if (guard && chance(0.5)) {
      note(QStringLiteral("确 定 on the results window"));
      QTest::mouseClick(form->Command1, Qt::LeftButton);
      expect(!guard || !guard->isVisible(), QStringLiteral("确 定 left the results window open"));
    }
  }

  void saveReport(Form2* form) {
    note(QStringLiteral("save"));
    const QString path =
        files_.filePath(QStringLiteral("report%1.txt").arg(summary_.results_saved));
    platform_.nextSavePath = path;
    const qsizetype messages = platform_.messages.size();
    const QByteArray text = form->reportBytes();
    QTest::mouseClick(form->Command2, Qt::LeftButton);
    platform_.nextSavePath.clear();
    ++summary_.results_saved;
    const std::optional<QByteArray> expected = EncodeAnsi({text.constData(), size_t(text.size())});
    QFile file(path);
    expect(platform_.messages.size() == messages && expected && file.open(QIODevice::ReadOnly) &&
               file.readAll() == *expected,
           QStringLiteral("the saved file does not hold the report box's text"));
  }

  // ------------------------------------------------------------ commands

  void connectCommands(SheetWindow* window) {
    windows_ << window;
    QObject::connect(window, &QObject::destroyed, &context_,
                     [this, window] { windows_.removeAll(window); });
    QObject::connect(window->Command1, &QPushButton::pressed, &context_,
                     [this, window] { pressed(window, 1); });
    QObject::connect(window->Command2, &QPushButton::pressed, &context_,
                     [this, window] { pressed(window, 2); });
    QObject::connect(window->Command3, &QPushButton::pressed, &context_,
                     [this, window] { pressed(window, 3); });
    QObject::connect(window->Command1, &QPushButton::clicked, &context_,
                     [this, window] { finished(window); });
    QObject::connect(window->Command2, &QPushButton::clicked, &context_,
                     [this, window] { finished(window); });
    QObject::connect(window->Command3, &QPushButton::clicked, &context_,
                     [this, window] { finished(window); });
  }

  // The button is down: any open editor has committed. What the command
  // must do is computed from the sheet and counts as they are now.
  void pressed(SheetWindow* window, int command) {
    checkTextEditorCommit(window);
    expectation_.reset();
    Expectation e;
    e.before = window->MSFlexGrid1->sheet();
    e.messages_before = platform_.messages.size();
    const int variables = ReadCount(window->Text2->text().toStdString());
    const int rows = ReadCount(window->Text1->text().toStdString());
    const auto* form1 = qobject_cast<const Form1*>(window);
    QElapsedTimer timer;
    timer.start();
    if (command == 1) {
      e.kind = Expectation::Kind::Layout;
      e.command = QStringLiteral("OK");
      e.laid_out = e.before;
      if (form1)
        lp::LayOutSheet(e.laid_out, variables, rows, form1->sense());
      else
        goal::LayOutSheet(e.laid_out, rows, variables);
    } else if (command == 2) {
      e.command = QStringLiteral("Calculate");
      if (form1) {
        lp::LpRequest request;
        request.variables = variables;
        request.constraints = rows;
        request.sense = form1->sense();
        request.decimal_separator = SheetWindow::decimalSeparator();
        e.outcome = lp::Calculate(request, e.before);
      } else {
        goal::GoalRequest request;
        request.goals = rows;
        request.variables = variables;
        request.decimal_separator = SheetWindow::decimalSeparator();
        e.outcome = goal::Calculate(request, e.before);
      }
    } else {
      e.command = QStringLiteral("statistics");
      stats::StatsRequest request;
      request.column = window->editing().gCol();
      request.count = rows;
      request.kind =
          form1 ? stats::SheetKind::LinearProgramming : stats::SheetKind::GoalProgramming;
      request.decimal_separator = SheetWindow::decimalSeparator();
      e.outcome = stats::Calculate(request, e.before);
    }
    const double seconds = timer.nsecsElapsed() / 1e9;
    summary_.slowest_calculation = std::max(summary_.slowest_calculation, seconds);
    expect(seconds < kCalculationSeconds, QStringLiteral("%1 with counts %2 and %3 took %4 s")
                                              .arg(e.command)
                                              .arg(variables)
                                              .arg(rows)
                                              .arg(seconds));
    note(QStringLiteral("%1 pressed, counts %2 and %3").arg(e.command).arg(variables).arg(rows));
    expectation_ = std::move(e);
  }

  // The command has run: compare with what was expected of it.
  void finished(SheetWindow* window) {
    if (!expectation_) {
      expect(false, QStringLiteral("a command ran without its button being pressed"));
      return;
    }
    const Expectation e = std::move(*expectation_);
    expectation_.reset();
    const Sheet& now = window->MSFlexGrid1->sheet();
    if (e.kind == Expectation::Kind::Layout) {
      ++summary_.layouts;
      expect(now == e.laid_out, QStringLiteral("OK laid out another sheet than the core"));
      expect(window->Command2->isEnabled(), QStringLiteral("Calculate is not enabled after OK"));
      expect(window->Text8->isHidden() && window->Combo3->isHidden(),
             QStringLiteral("an editor floats over the rebuilt sheet"));
      expect(platform_.messages.size() == e.messages_before, QStringLiteral("OK showed a message"));
      return;
    }
    if (e.command == QLatin1String("statistics")) ++summary_.statistics;
    expect(now == e.before, QStringLiteral("%1 changed the sheet").arg(e.command));
    QStringList expected_messages;
    for (const std::string& m : e.outcome.messages) expected_messages << QString::fromStdString(m);
    if (!e.outcome.report) {
      ++summary_.message_only;
      expect(e.shown.isEmpty(),
             QStringLiteral("%1 opened a results window without a report").arg(e.command));
      expect(platform_.messages.mid(e.messages_before) == expected_messages,
             QStringLiteral("%1 showed the messages [%2] instead of [%3]")
                 .arg(e.command, platform_.messages.mid(e.messages_before).join(" | "),
                      expected_messages.join(" | ")));
      return;
    }
    ++summary_.reports;
    if (!expect(e.shown.size() == 1, QStringLiteral("%1 opened %2 results windows instead of one")
                                         .arg(e.command)
                                         .arg(e.shown.size()))) {
      return;
    }
    const Expectation::Shown& shown = e.shown[0];
    expect(platform_.messages.mid(e.messages_before, shown.messages_before - e.messages_before) ==
               expected_messages,
           QStringLiteral("%1 showed the messages [%2] before the report instead of [%3]")
               .arg(e.command,
                    platform_.messages
                        .mid(e.messages_before, shown.messages_before - e.messages_before)
                        .join(" | "),
                    expected_messages.join(" | ")));
    expect(shown.text == *e.outcome.report,
           QStringLiteral("%1 showed another report than the core's (%2 bytes shown, %3 expected)")
               .arg(e.command)
               .arg(shown.text.size())
               .arg(e.outcome.report->size()));
    const QString title =
        e.outcome.title.empty() ? kDesignResultsTitle : QString::fromStdString(e.outcome.title);
    expect(shown.title == title && shown.label == title,
           QStringLiteral("the results window is titled \"%1\" / \"%2\" instead of \"%3\"")
               .arg(shown.title, shown.label, title));
  }

  // ---------------------------------------------------------- invariants

  struct OpenTextEditor {
    QPointer<SheetWindow> window;
    int row = 0;
    int col = 0;
    QString text;
  };

  void rememberTextEditor(SheetWindow* window) {
    open_editor_.reset();
    if (window->Text8->isHidden()) return;
    open_editor_ = OpenTextEditor{window, window->editing().gRow(), window->editing().gCol(),
                                  window->Text8->text()};
  }

  // A text editor that was open before the last event and is closed now
  // has committed its text, normalised, into the cell it was opened on.
  void checkTextEditorCommit(SheetWindow* window) {
    if (!open_editor_ || open_editor_->window != window || !window->Text8->isHidden()) return;
    const OpenTextEditor open = *open_editor_;
    open_editor_.reset();
    SheetGrid* grid = window->MSFlexGrid1;
    if (!grid->isDataCell(open.row, open.col)) return;
    ++summary_.commits_checked;
    const QString stored = grid->text(open.row, open.col);
    const QString expected = normalisedNumber(open.text);
    expect(stored == expected,
           QStringLiteral(
               "the text editor closed over cell (%1,%2) holding \"%3\": the cell holds \"%4\", "
               "not \"%5\"")
               .arg(open.row)
               .arg(open.col)
               .arg(open.text, stored, expected));
  }

  void checkInvariants(SheetWindow* window, const WindowWatch* watch) {
    const bool text_open = !window->Text8->isHidden();
    const bool combo_open = !window->Combo3->isHidden();
    expect(!(text_open && combo_open), QStringLiteral("both editors show"));
    QWidget* focus = window->focusWidget();
    expect(!text_open || focus == window->Text8,
           QStringLiteral("the text editor shows without the focus (the focus is on %1)")
               .arg(describe(focus)));
    expect(!combo_open || !watch->combo_had_focus || within(focus, window->Combo3),
           QStringLiteral("the drop-down lost the focus but still shows (the focus is on %1)")
               .arg(describe(focus)));
    for (const QLineEdit* box : {window->Text1, window->Text2}) {
      expect(digitsOnly(box->text()),
             QStringLiteral("count box %1 holds \"%2\"").arg(box->objectName(), box->text()));
    }
    static const QStringList signs = {QStringLiteral(" ≥ "), QStringLiteral(" ≤ "),
                                      QStringLiteral(" ═ ")};
    QStringList items;
    for (int i = 0; i < window->Combo3->count(); ++i) items << window->Combo3->itemText(i);
    expect(items == signs, QStringLiteral("the drop-down holds [%1]").arg(items.join('|')));
    const SheetGrid* grid = window->MSFlexGrid1;
    expect(grid->currentRow() >= 0 && grid->currentCol() >= 0 &&
               (grid->rows() == 0 || grid->currentRow() < grid->rows()) &&
               (grid->cols() == 0 || grid->currentCol() < grid->cols()),
           QStringLiteral("the current cell (%1,%2) lies outside the %3 x %4 sheet")
               .arg(grid->currentRow())
               .arg(grid->currentCol())
               .arg(grid->rows())
               .arg(grid->cols()));
    expect(!expectation_, QStringLiteral("a pressed command never ran"));
    // No window is left open but the ones the run works in.
    for (QWidget* top : QApplication::topLevelWidgets()) {
      if (!top->isVisible() || !qobject_cast<QDialog*>(top)) continue;
      auto* sheet_window = qobject_cast<SheetWindow*>(top);
      expect(sheet_window && windows_.contains(sheet_window),
             QStringLiteral("%1 was left open").arg(describe(top)));
    }
  }

  std::mt19937 rng_;
  quint32 seed_;
  int budget_;
  RecordingPlatform& platform_;
  Summary summary_;
  QString failure_;
  std::deque<QString> trail_;
  QList<SheetWindow*> windows_;
  std::optional<Expectation> expectation_;
  std::optional<OpenTextEditor> open_editor_;
  QTemporaryDir files_;
  // Receives the windows' signals; gone (and disconnected) before the rest.
  QObject context_;
};

QList<quint32> seedsFromEnvironment(QList<quint32> fallback) {
  const QString text = qEnvironmentVariable("ORCALC_MONKEY_SEEDS");
  if (text.isEmpty()) return fallback;
  QList<quint32> seeds;
  for (const QString& part : text.split(QLatin1Char(','), Qt::SkipEmptyParts))
    seeds << part.trimmed().toUInt();
  return seeds;
}

int eventsFromEnvironment(int fallback) {
  bool ok = false;
  const int events = qEnvironmentVariableIntValue("ORCALC_MONKEY_EVENTS", &ok);
  return ok && events > 0 ? events : fallback;
}

}  // namespace

class MonkeyTest : public QObject {
  Q_OBJECT

 private slots:
  void monkey_data();
  void monkey();
};

void MonkeyTest::monkey_data() {
  QTest::addColumn<bool>("goal");
  QTest::addColumn<quint32>("seed");
  QTest::addColumn<int>("events");
  const int events = eventsFromEnvironment(6000);
  for (quint32 seed : seedsFromEnvironment({11, 12, 13})) {
    QTest::addRow("Form1 seed %u", seed) << false << seed << events;
  }
  for (quint32 seed : seedsFromEnvironment({21, 22})) {
    QTest::addRow("Form3 seed %u", seed) << true << seed << events;
  }
}

void MonkeyTest::monkey() {
  QFETCH(bool, goal);
  QFETCH(quint32, seed);
  QFETCH(int, events);
  RecordingPlatform platform;
  std::unique_ptr<SheetWindow> window;
  if (goal)
    window = std::make_unique<Form3>();
  else
    window = std::make_unique<Form1>();
  QElapsedTimer timer;
  timer.start();
  Monkey monkey(seed, events, platform);
  const QString failure = monkey.run(window.get());
  const Summary& s = monkey.summary();
  qInfo(
      "%d events in %.1f s: %d layouts, %d reports, %d message-only outcomes (%d statistics), "
      "%d commits checked, %d goal windows opened, %d saves, %d beeps; slowest calculation %.3f s",
      s.events, timer.elapsed() / 1000.0, s.layouts, s.reports, s.message_only, s.statistics,
      s.commits_checked, s.goal_windows, s.results_saved, platform.beeps, s.slowest_calculation);
  if (!failure.isEmpty()) {
    for (const QString& line : failure.split(QLatin1Char('\n'))) qInfo("%s", qPrintable(line));
  }
  QVERIFY2(failure.isEmpty(), qPrintable(failure.section(QLatin1Char('\n'), 0, 0)));
  // A run that never reached the commands or the editors proves little.
  if (events >= 1000) {
    QVERIFY(s.layouts > 0);
    QVERIFY(s.reports + s.message_only > 0);
    QVERIFY(s.commits_checked > 0);
  }
}

QTEST_MAIN(MonkeyTest)
#include "monkey_test.moc"
