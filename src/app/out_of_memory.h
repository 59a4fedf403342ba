// Running a window command so that running out of memory ends it with a
// message instead of ending the program.
#pragma once

#include <functional>

class QWidget;

namespace orcalc::ui {

// The text of the message shown when a command runs out of memory.
extern const char* const kOutOfMemoryMessage;

// Runs `command`; running out of memory ends it with the message, shown
// over `window`, and leaves the sheet and the program as they were.
void runGuarded(QWidget* window, const std::function<void()>& command);

}  // namespace orcalc::ui
