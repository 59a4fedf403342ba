#include "platform/twips.h"

#include <QGuiApplication>
#include <QRect>
#include <QScreen>
#include <QWidget>
#include <cmath>

namespace orcalc::ui {
namespace {

constexpr double kTwipsPerInch = 1440.0;

double dpiX(const QWidget* widget) {
  if (widget) return widget->logicalDpiX();
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInchX() : 96.0;
}

double dpiY(const QWidget* widget) {
  if (widget) return widget->logicalDpiY();
  const QScreen* screen = QGuiApplication::primaryScreen();
  return screen ? screen->logicalDotsPerInchY() : 96.0;
}

}  // namespace

int twipsToPixelsX(int twips, const QWidget* widget) {
  return static_cast<int>(std::lround(twips * dpiX(widget) / kTwipsPerInch));
}
int twipsToPixelsY(int twips, const QWidget* widget) {
  return static_cast<int>(std::lround(twips * dpiY(widget) / kTwipsPerInch));
}
int pixelsToTwipsX(int pixels, const QWidget* widget) {
  return static_cast<int>(std::lround(pixels * kTwipsPerInch / dpiX(widget)));
}
int pixelsToTwipsY(int pixels, const QWidget* widget) {
  return static_cast<int>(std::lround(pixels * kTwipsPerInch / dpiY(widget)));
}

QRect twipsRect(int left, int top, int width, int height, const QWidget* widget) {
  return QRect(twipsToPixelsX(left, widget), twipsToPixelsY(top, widget),
               twipsToPixelsX(width, widget), twipsToPixelsY(height, widget));
}

}  // namespace orcalc::ui
