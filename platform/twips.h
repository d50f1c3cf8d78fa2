#pragma once

#include <QRect>

namespace platform {

// Our windows keep their place and size in twips (1440 to the inch); the screen works in
// pixels at its logical resolution.

// Twips per pixel of the primary screen across and down (15 at 96 DPI; 15 without a screen).
double twipsPerPixelX();
double twipsPerPixelY();

// Twips to pixels and back, rounded to the nearest whole number, halves to even.
int pixelsFromTwips(double twips, double twipsPerPixel);
int twipsFromPixels(int px, double twipsPerPixel);

// A place and size given in twips, in pixels of the primary screen.
QRect twipsRect(int left, int top, int width, int height);

} // namespace platform
