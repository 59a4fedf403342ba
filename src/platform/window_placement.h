// Keeps the windows the program opens on the screen: a window placed over
// its owner is moved, and made smaller if it must, until its frame (title
// bar included) lies inside the screen's available area.
#pragma once

#include <QMargins>
#include <QRect>
#include <QSize>

class QWidget;

namespace orcalc::ui {

// `frame` moved as little as it takes to lie inside `available`; a frame
// wider or taller than `available` is first cut to its size.
QRect fitInside(QRect frame, const QRect& available);

// The client rectangle of a window of client size `size` with frame
// `margins`, centred over `owner_frame`, its frame kept inside `available`.
QRect placeOver(const QRect& owner_frame, QSize size, const QMargins& margins,
                const QRect& available);

// Places the top-level `window`, before it is shown, centred over `owner`
// (over its screen without one), inside the available area of that screen.
// A window not yet framed by the window manager is given the owner's frame
// margins (or those of the program's other windows).
void placeOverOwner(QWidget* window, const QWidget* owner);

}  // namespace orcalc::ui
