#include "effects/ontopbas.h"

#include "platform/classicerrors.h"
#include "platform/layeredwindow.h"
#include "tracing/traced.h"

#include <QWidget>

namespace veltrano {

void showTopmost(QWidget* window, const std::optional<QRect>& place) {
    if (!window)
        platform::raiseError(platform::err::objectNotSet);
    // A window never shown nor placed is left to Qt and the window manager to place.
    const bool keepGeometry = place || window->isVisible() || window->testAttribute(Qt::WA_Moved);
    const QRect geometry = place.value_or(window->geometry());
    // Changing window flags hides the window and recreates it, so only on a real change.
    if (!window->windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        window->setWindowFlag(Qt::WindowStaysOnTopHint);
    if (keepGeometry && window->geometry() != geometry)
        window->setGeometry(geometry);
    window->setAttribute(Qt::WA_ShowWithoutActivating);
    window->show();
    window->raise();
}

void FormOnTop(std::int32_t& hWindow) {
    Traced proc(u"OnTopBas.FormOnTop");
    proc.param("hWindow", "Long", hWindow);
    proc.run([&](Traced::Line& at) {
        at(10);
        QWidget* window = platform::windowFromHandle(hWindow);
        at(20);
        showTopmost(window);
    });
}

} // namespace veltrano
