#include "platform/twips.h"

#include "platform/classicerrors.h"

#include <QGuiApplication>
#include <QScreen>

#include <cmath>
#include <limits>

namespace platform {

namespace {

constexpr double twipsPerInch = 1440.0;
// The factor of a 96 DPI screen, used when there is no screen to ask.
constexpr double defaultTwipsPerPixel = 15.0;

QScreen* primaryScreen() {
    return qobject_cast<QGuiApplication*>(QCoreApplication::instance())
               ? QGuiApplication::primaryScreen()
               : nullptr;
}

double perPixel(double dotsPerInch) {
    return dotsPerInch > 0 ? twipsPerInch / dotsPerInch : defaultTwipsPerPixel;
}

int roundedToInt(double value) {
    // Default rounding mode: nearest, halves to even.
    const double r = std::nearbyint(value);
    if (!(r >= double(std::numeric_limits<int>::min()) &&
          r <= double(std::numeric_limits<int>::max())))
        raiseError(err::overflow);
    return int(r);
}

} // namespace

double twipsPerPixelX() {
    QScreen* screen = primaryScreen();
    return screen ? perPixel(screen->logicalDotsPerInchX()) : defaultTwipsPerPixel;
}

double twipsPerPixelY() {
    QScreen* screen = primaryScreen();
    return screen ? perPixel(screen->logicalDotsPerInchY()) : defaultTwipsPerPixel;
}

int pixelsFromTwips(double twips, double twipsPerPixel) {
    if (twipsPerPixel == 0)
        raiseError(11); // Division by zero
    return roundedToInt(twips / twipsPerPixel);
}

int twipsFromPixels(int px, double twipsPerPixel) {
    return roundedToInt(px * twipsPerPixel);
}

QRect twipsRect(int left, int top, int width, int height) {
    const double x = twipsPerPixelX();
    const double y = twipsPerPixelY();
    return {pixelsFromTwips(left, x), pixelsFromTwips(top, y), pixelsFromTwips(width, x),
            pixelsFromTwips(height, y)};
}

} // namespace platform
