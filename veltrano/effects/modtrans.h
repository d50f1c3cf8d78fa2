#pragma once

#include <cstdint>

class QObject;
class QWidget;

namespace veltrano {

// Module modTrans: window translucency and dragging. Every procedure goes on after a
// failing statement and reports its exit normally; a failure shows in its result only.

// The window's layered flags (2 when layered, else 0); -1 after an error.
std::int32_t isTransparent(QWidget* zForm);
// The window's alpha when layered; -1 when it is not, or after an error.
std::int32_t GetTrans(QWidget* zForm);
// Makes the window layered with alpha vTrans; false after an error.
bool SetTrans(QWidget* zForm, std::uint8_t vTrans);
// Fades the window from its alpha (opaque when it has none) to transparent, shown and
// disabled while it fades, and hides it. False after an error.
bool FadeOut(QWidget* zForm);
// Lets the user drag the object's window (found by its "hwnd" member) with the mouse: the
// window manager moves it, or, for a window shown past the window manager, the window follows
// the pointer itself until the button is released. An object without a window moves nothing.
void FormDrag(QObject* TheForm);

} // namespace veltrano
