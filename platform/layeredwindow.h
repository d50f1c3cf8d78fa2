#pragma once

#include <cstdint>

class QWidget;

namespace platform {

// Layered windows: a window becomes layered at its first setLayeredAlpha and keeps that
// alpha (0 transparent .. 255 opaque) as its window opacity.
constexpr int LWA_COLORKEY = 1, LWA_ALPHA = 2;

// The dynamic property that holds a layered window's alpha. Changing it sends the window a
// QEvent::DynamicPropertyChange, so each new alpha can be watched there.
inline constexpr char layeredAlphaProperty[] = "platformLayeredAlpha";

// Makes the window layered with this alpha. Error 91 for a null window, 453 where the
// platform cannot make windows translucent.
void setLayeredAlpha(QWidget* window, std::uint8_t alpha);

struct LayeredAttributes {
    std::uint32_t colorKey = 0;
    std::uint8_t alpha = 0;
    std::int32_t flags = 0; // LWA_ALPHA for a layered window, 0 otherwise
};

// A window's layered attributes; errors as for setLayeredAlpha.
LayeredAttributes layeredAttributes(QWidget* window);

// The window with this handle; error 5 when there is none.
QWidget* windowFromHandle(std::int32_t hWindow);

// A window's handle as the program holds it: its window id in 32 bits (X11 ids fit).
// Creates the native window if it has none yet. Error 91 for a null window.
std::int32_t handleOf(QWidget* window);

} // namespace platform
