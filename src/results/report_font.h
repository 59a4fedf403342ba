// The face of the program's reports: one where every ASCII character has
// the same width and a Chinese character twice that, so the columns of a
// report line up as they were written.
#pragma once

#include <QFont>

namespace orcalc::ui {

QFont reportFont(const QFont& base);

}  // namespace orcalc::ui
