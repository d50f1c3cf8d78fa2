#include "presentation/form2.h"

#include "effects/modtrans.h"
#include "effects/ontopbas.h"
#include "presentation/modsubliminal.h"
#include "presentation/module2.h"
#include "tracing/traced.h"

#include "platform/fullscreen.h"
#include "platform/layeredwindow.h"
#include "platform/twips.h"
#include "platform/windowrole.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QListWidget>
#include <QMouseEvent>
#include <QScreen>

namespace veltrano {

namespace {

// The strip's client area and its list, in twips.
constexpr int clientWidth = 11040;
constexpr int clientHeight = 330;
constexpr int listWidth = 11055;

int px(double twips, double perPixel) {
    return platform::pixelsFromTwips(twips, perPixel);
}

// Classic mouse button and shift-key numbers.
std::int16_t buttonNumber(Qt::MouseButton button) {
    switch (button) {
    case Qt::LeftButton:
        return 1;
    case Qt::RightButton:
        return 2;
    case Qt::MiddleButton:
        return 4;
    default:
        return 0;
    }
}

std::int16_t shiftNumber(Qt::KeyboardModifiers modifiers) {
    return std::int16_t((modifiers & Qt::ShiftModifier ? 1 : 0) |
                        (modifiers & Qt::ControlModifier ? 2 : 0) |
                        (modifiers & Qt::AltModifier ? 4 : 0));
}

} // namespace

Form2* Form2::theWindow_ = nullptr;

Form2& Form2::instance() {
    if (!theWindow_)
        theWindow_ = new Form2;
    return *theWindow_;
}

bool Form2::exists() {
    return theWindow_ != nullptr;
}

void Form2::load() {
    Form2& window = instance();
    if (window.loaded_)
        return;
    window.loaded_ = true;
    window.Form_Load();
}

// Above all from the start: Qt creates the native window anew at the next show after a
// change of that flag, past the moment the notification hints are written into it.
Form2::Form2() : QWidget(nullptr, Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setWindowTitle(QStringLiteral("Veltrano"));
    // Shown for a moment while the user works elsewhere: it must never take the focus, nor
    // come and go in the task bar at every entry.
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    platform::showAsNotification(this);

    const double perX = platform::twipsPerPixelX();
    const double perY = platform::twipsPerPixelY();
    setFixedSize(px(clientWidth, perX), px(clientHeight, perY));
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect area = rect();
        area.moveCenter(screen->geometry().center());
        move(area.topLeft());
    }

    List1 = new QListWidget(this);
    List1->setGeometry(0, 0, px(listWidth, perX), px(clientHeight, perY));
    List1->setFrameShape(QFrame::NoFrame);
    List1->setFocusPolicy(Qt::NoFocus);
    List1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    List1->setSelectionMode(QAbstractItemView::SingleSelection);
    // One font, one line per entry: without this the list measures every entry's text when
    // it is laid out, which for a large module holds the window for a second and more.
    List1->setUniformItemSizes(true);
    QFont font(QStringLiteral("MS Sans Serif"), 12, QFont::Normal);
    font.setStyleHint(QFont::SansSerif);
    List1->setFont(font);
    // The list's background is the system's scroll-bar colour.
    QPalette palette = List1->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Button));
    List1->setPalette(palette);
    // Clicks on the strip drag it: the list passes them to the window.
    List1->setAttribute(Qt::WA_TransparentForMouseEvents);
}

int Form2::Left() const {
    return platform::twipsFromPixels(x(), platform::twipsPerPixelX());
}
int Form2::Top() const {
    return platform::twipsFromPixels(y(), platform::twipsPerPixelY());
}
int Form2::Width() const {
    return platform::twipsFromPixels(width(), platform::twipsPerPixelX());
}
int Form2::Height() const {
    return platform::twipsFromPixels(height(), platform::twipsPerPixelY());
}

qint32 Form2::hwnd() const {
    return platform::handleOf(const_cast<Form2*>(this));
}

void Form2::time2() {
    Traced proc(u"Form2.time2");
    proc.run([&](Traced::Line& at) {
        at(10);
        passWindowManagerWhileFullScreen();
        std::int32_t handle = hwnd();
        FormOnTop(handle);
        at(20);
        AlwaysOnTop();
    });
}

// A window manager may keep the active full-screen window above every window it manages,
// whatever they ask (openbox does, notifications included), so while one is active the strip
// is shown past the window manager, as a tooltip is. Such a window stays out of the task bar
// and the focus all the same; the window manager no longer drags it (FormDrag does). The
// strip is hidden between two entries, where the change of flags goes unseen.
void Form2::passWindowManagerWhileFullScreen() {
    const bool past = platform::FullScreenProbe::current().activeWindowIsFullScreen();
    if (windowFlags().testFlag(Qt::X11BypassWindowManagerHint) != past)
        setWindowFlag(Qt::X11BypassWindowManagerHint, past);
}

void Form2::Form_Load() {
    Traced proc(u"Form2.Form_Load");
    proc.run([&](Traced::Line& at) {
        at(10);
        hide();
        at(20);
        module();
    });
}

void Form2::Form_MouseDown(std::int16_t Button, std::int16_t Shift, float x, float Y) {
    Traced proc(u"Form2.Form_MouseDown");
    proc.param("Button", "Integer", Button)
        .param("Shift", "Integer", Shift)
        .param("x", "Single", x)
        .param("Y", "Single", Y);
    proc.run([&](Traced::Line& at) {
        at(10);
        FormDrag(this);
    });
}

void Form2::Form_Unload(std::int16_t& Cancel) {
    Traced proc(u"Form2.Form_Unload");
    proc.param("Cancel", "Integer", Cancel);
    proc.run([&](Traced::Line& at) {
        at(10);
        QPalette p = palette();
        p.setColor(QPalette::Window, p.color(QPalette::Button));
        setPalette(p);
        at(20);
        FadeOut(this);
        at(30);
        clsAEHandling::endProgram();
    });
}

void Form2::mousePressEvent(QMouseEvent* event) {
    const QPointF at = event->position();
    Form_MouseDown(buttonNumber(event->button()), shiftNumber(event->modifiers()),
                   float(at.x() * platform::twipsPerPixelX()),
                   float(at.y() * platform::twipsPerPixelY()));
}

void Form2::closeEvent(QCloseEvent* event) {
    std::int16_t cancel = 0;
    Form_Unload(cancel);
    event->setAccepted(cancel == 0);
}

} // namespace veltrano
