// The program's icon: a coefficient sheet with a summation sign.
#pragma once

#include <QIcon>
#include <QPixmap>

namespace orcalc::ui {

// The icon for every window (scalable, with the hand-tuned 32 x 32 image).
QIcon applicationIcon();
// The 32 x 32 image shown in the About box.
QPixmap applicationIconPixmap();

}  // namespace orcalc::ui
