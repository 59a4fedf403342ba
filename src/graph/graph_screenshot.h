// The picture of the graphical method's window in the documentation.
#pragma once

class QString;

namespace orcalc::ui {

// Opens the window of the graphical method for the example (maximise
// 3χ1 + 2χ2 under χ1 + χ2 ≤ 4 and χ1 + 3χ2 ≤ 6) and saves a picture of it
// to `path`. Returns the process exit status.
int takeGraphScreenshot(const QString& path);

}  // namespace orcalc::ui
