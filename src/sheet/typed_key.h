// Typed characters as character codes, shared by the grid, the cell editors
// and the count boxes.
#pragma once

#include <memory>

class QKeyEvent;

namespace orcalc::ui {

// The codes of the typed characters that are keys rather than text.
inline constexpr int kEnterCode = 13;
inline constexpr int kBackspaceCode = 8;
inline constexpr int kEscapeCode = 27;

// A character typed on the grid, on its way to the cell editors: kEnterCode,
// kBackspaceCode, kEscapeCode, otherwise the Unicode code point typed.
struct KeyPress {
  int code = 0;
};

// The character a key press types: kEnterCode, kBackspaceCode, kEscapeCode,
// otherwise the Unicode code point of its text; 0 when the key types no
// character (arrows and other navigation keys, Tab, Delete, function keys,
// and Control or Alt combinations, which are commands rather than text).
int typedCharacter(const QKeyEvent& event);

// A key press event that types `code`, as typedCharacter reads it; for
// delivering a typed character to a widget.
std::unique_ptr<QKeyEvent> typedKeyEvent(int code);

}  // namespace orcalc::ui
