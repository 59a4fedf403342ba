// The face of every report the program shows or prints: one where every
// ASCII character has the same width and a Chinese character twice that,
// so the columns of a report line up as they were written.
#pragma once

#include <QFont>

namespace orcalc::ui {

// `base` with the report face and size.
QFont reportFont(const QFont& base);

}  // namespace orcalc::ui
