#include "platform/layeredwindow.h"

#include "platform/classicerrors.h"

#include <QApplication>
#include <QVariant>
#include <QWidget>
#include <QWindow>

namespace platform {

namespace {

// Without a GUI, or on the minimal platform, there is no window to make translucent.
bool canSetOpacity() {
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        return false;
    return QGuiApplication::platformName() != QLatin1String("minimal");
}

void checkUsable(QWidget* window) {
    if (!window)
        raiseError(err::objectNotSet);
    if (!canSetOpacity())
        raiseError(err::dllFunctionNotFound);
}

} // namespace

void setLayeredAlpha(QWidget* window, std::uint8_t alpha) {
    checkUsable(window);
    window->setProperty(layeredAlphaProperty, int(alpha));
    window->setWindowOpacity(alpha / 255.0);
}

LayeredAttributes layeredAttributes(QWidget* window) {
    checkUsable(window);
    LayeredAttributes attributes;
    const QVariant alpha = window->property(layeredAlphaProperty);
    if (alpha.isValid()) {
        attributes.alpha = std::uint8_t(alpha.toInt());
        attributes.flags = LWA_ALPHA;
    }
    return attributes;
}

// A change of window flags makes Qt create a window's native window anew without renewing
// the widget's own id, so the handle is the native window's as it is now.
QWidget* windowFromHandle(std::int32_t hWindow) {
    // Through 32 bits unsigned, so ids with the top bit set are not sign-extended.
    const WId id = WId(std::uint32_t(hWindow));
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* window : windows)
        if (window->windowHandle() && window->windowHandle()->winId() == id)
            return window;
    if (QWidget* window = QWidget::find(id))
        return window;
    raiseError(err::invalidProcedureCall);
}

std::int32_t handleOf(QWidget* window) {
    if (!window)
        raiseError(err::objectNotSet);
    const WId id = window->winId(); // creates the native window when there is none yet
    return std::int32_t(
        std::uint32_t(window->windowHandle() ? window->windowHandle()->winId() : id));
}

} // namespace platform
