// Typed characters as character codes, shared by the grid and the editors.
#pragma once

class QKeyEvent;

namespace orcalc::ui {

// The character a key press types: 13 Enter, 8 Backspace, 27 Escape,
// otherwise the Unicode code point of its text; 0 when the key types no
// character (arrows and other navigation keys, Tab, Delete, function keys,
// and Control or Alt combinations, which are commands rather than text).
int typedCharacter(const QKeyEvent& event);

// A key press event that types `code`, as typedCharacter reads it; for
// delivering a typed character to another widget.
QKeyEvent* newTypedKeyEvent(int code);

}  // namespace orcalc::ui
