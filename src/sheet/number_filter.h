// The one rule for the characters a number field takes, whether they are
// typed, pasted, dropped or come from an input method.
#pragma once

#include <QString>

namespace orcalc::ui {

enum class NumberField {
  Count,    // a count box: digits only
  Decimal,  // a cell's number: digits, and one point and one minus
};

struct FilteredText {
  QString accepted;      // the characters that go in, in order
  bool refused = false;  // whether any character was refused (it beeps)
};

// What `incoming` adds to a field that holds `existing` (a selection about
// to be replaced included): digits always; on a Decimal field "." and "-"
// each while the text holds none yet, a further one dropped silently; every
// other character refused.
FilteredText filterNumberText(NumberField field, const QString& existing, const QString& incoming);

}  // namespace orcalc::ui
