#pragma once

#include <QRect>

#include <cstdint>
#include <optional>

class QWidget;

namespace veltrano {

// Module OnTopBas.

// Puts the window with handle hWindow above all other windows and shows it without
// activating it, where it is and at its size.
void FormOnTop(std::int32_t& hWindow);

// Puts a window above all other windows and shows it without activating it, keeping its
// place and size, or giving it `place` when one is given. Error 91 for a null window.
void showTopmost(QWidget* window, const std::optional<QRect>& place = {});

} // namespace veltrano
