#include "platform/window_placement.h"

#include <QApplication>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace orcalc::ui {
namespace {

QMargins frameMargins(const QWidget* window) {
  const QRect frame = window->frameGeometry(), client = window->geometry();
  return {client.left() - frame.left(), client.top() - frame.top(), frame.right() - client.right(),
          frame.bottom() - client.bottom()};
}

// The frame margins `window` will have: its own once it is shown, else those
// of its owner or of another window of the program that has one.
QMargins expectedMargins(const QWidget* window, const QWidget* owner) {
  if (window->isVisible()) return frameMargins(window);
  if (owner && owner->window()->isVisible()) {
    const QMargins margins = frameMargins(owner->window());
    if (!margins.isNull()) return margins;
  }
  for (const QWidget* other : QApplication::topLevelWidgets()) {
    if (other->isVisible() && !frameMargins(other).isNull()) return frameMargins(other);
  }
  return {};
}

}  // namespace

QRect fitInside(QRect frame, const QRect& available) {
  frame.setWidth(std::min(frame.width(), available.width()));
  frame.setHeight(std::min(frame.height(), available.height()));
  frame.moveLeft(std::clamp(frame.left(), available.left(), available.right() - frame.width() + 1));
  frame.moveTop(std::clamp(frame.top(), available.top(), available.bottom() - frame.height() + 1));
  return frame;
}

QRect placeOver(const QRect& owner_frame, QSize size, const QMargins& margins,
                const QRect& available) {
  QRect frame(QPoint(0, 0), size.grownBy(margins));
  frame.moveCenter(owner_frame.center());
  frame = fitInside(frame, available);
  return frame.marginsRemoved(margins);
}

void placeOverOwner(QWidget* window, const QWidget* owner) {
  const QWidget* top = owner ? owner->window() : nullptr;
  QScreen* screen = top ? top->screen() : QGuiApplication::primaryScreen();
  if (!screen) return;
  const QRect available = screen->availableGeometry();
  QSize size = window->size();
  // A window whose size its layout decides has no size of its own yet.
  if (!window->testAttribute(Qt::WA_Resized)) {
    window->adjustSize();
    size = window->size();
  }
  const QMargins margins = expectedMargins(window, owner);
  const QRect over = top && top->isVisible() ? top->frameGeometry() : available;
  QRect client = placeOver(over, size, margins, available);
  // Not below the smallest size the window takes; what is left over goes
  // past the right and lower edges, never past the title bar.
  client.setSize(client.size().expandedTo(window->minimumSize()));
  window->setGeometry(client);
}

}  // namespace orcalc::ui
