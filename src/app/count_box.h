// The count boxes of the sheet windows (numbers of variables and of
// constraints or goals): digits only, capped at 500 when they lose the focus.
#pragma once

#include <QObject>

class QLineEdit;

namespace orcalc::ui {

// Installs the count-box rules on `box`:
// - a typed character other than a digit or Backspace beeps and is dropped
//   (Enter, "-", ".", blanks, letters, Escape);
// - text that arrives any other way (paste, drag and drop, an input method)
//   keeps only its digits;
// - when the box loses the focus, a number above 500 becomes "500".
void makeCountBox(QLineEdit* box);

}  // namespace orcalc::ui
