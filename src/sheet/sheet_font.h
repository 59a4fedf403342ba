// The face of the coefficient grid and of the cell text editor.
#pragma once

#include <QFont>

namespace orcalc::ui {

// 宋体 11.25 pt, regular; where that family is not installed, the CJK serif
// face "Noto Serif CJK SC" stands in, so Chinese text always renders.
QFont sheetFont();

}  // namespace orcalc::ui
