// Window positions and sizes are designed in twips (1/1440 inch); the
// screen's logical DPI turns them into pixels (15 twips a pixel at 96 dpi).
#pragma once

class QWidget;
class QRect;

namespace orcalc::ui {

// Horizontal and vertical conversions for `widget`'s screen (the primary
// screen when widget is null).
int twipsToPixelsX(int twips, const QWidget* widget = nullptr);
int twipsToPixelsY(int twips, const QWidget* widget = nullptr);
int pixelsToTwipsX(int pixels, const QWidget* widget = nullptr);
int pixelsToTwipsY(int pixels, const QWidget* widget = nullptr);
// left, top, width, height in twips -> pixels.
QRect twipsRect(int left, int top, int width, int height, const QWidget* widget = nullptr);

}  // namespace orcalc::ui
