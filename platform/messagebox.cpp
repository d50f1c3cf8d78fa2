#include "platform/messagebox.h"

#include <QApplication>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPushButton>

#include <utility>

namespace platform {

namespace {

constexpr int buttonSetMask = 0x0F;
constexpr int iconMask = 0x70;
constexpr int defaultButtonMask = 0x300;
constexpr int defaultButtonShift = 8;

struct ButtonAnswer {
    QMessageBox::StandardButton button;
    int answer;
};

// The buttons of a set in their classic order, the first being the default answer.
QList<ButtonAnswer> buttonsOf(int buttons) {
    switch (buttons & buttonSetMask) {
    case mb::OKCancel:
        return {{QMessageBox::Ok, mb::OK}, {QMessageBox::Cancel, mb::Cancel}};
    case mb::AbortRetryIgnore:
        return {{QMessageBox::Abort, mb::Abort},
                {QMessageBox::Retry, mb::Retry},
                {QMessageBox::Ignore, mb::Ignore}};
    case mb::YesNoCancel:
        return {{QMessageBox::Yes, mb::Yes},
                {QMessageBox::No, mb::No},
                {QMessageBox::Cancel, mb::Cancel}};
    case mb::YesNo:
        return {{QMessageBox::Yes, mb::Yes}, {QMessageBox::No, mb::No}};
    case mb::RetryCancel:
        return {{QMessageBox::Retry, mb::Retry}, {QMessageBox::Cancel, mb::Cancel}};
    default:
        return {{QMessageBox::Ok, mb::OK}};
    }
}

QMessageBox::Icon iconOf(int buttons) {
    switch (buttons & iconMask) {
    case mb::Critical:
        return QMessageBox::Critical;
    case mb::Question:
        return QMessageBox::Question;
    case mb::Exclamation:
        return QMessageBox::Warning;
    case mb::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

// A short prompt makes a narrow box, and the window manager cuts a longer title down to the
// box's width ("Veltran... Arirera"). Qt leaves only 50 pixels beside the title for the
// title bar's icon and buttons; the box is made wide enough for the title in a bold title
// font, with room for an icon and three buttons.
void keepTitleWhole(QMessageBox& box) {
    constexpr int titleBarRoom = 160;
    QFont titleFont = QApplication::font("QMdiSubWindowTitleBar");
    titleFont.setBold(true);
    const int width = QFontMetrics(titleFont).horizontalAdvance(box.windowTitle()) + titleBarRoom;
    if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
        grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                      grid->rowCount(), 0, 1, grid->columnCount());
}

int showBox(const MsgBoxCall& call) {
    const QList<ButtonAnswer> answers = buttonsOf(call.buttons);
    // Without a widget application (a console host) there is nobody to ask.
    if (!qobject_cast<QApplication*>(QCoreApplication::instance())) {
        qWarning("%s: %s", qUtf8Printable(call.title), qUtf8Printable(call.prompt));
        return answers.first().answer;
    }

    QMessageBox box(iconOf(call.buttons), call.title, call.prompt, QMessageBox::NoButton,
                    QApplication::activeWindow());
    keepTitleWhole(box);
    for (const ButtonAnswer& a : answers)
        box.addButton(a.button);
    // The classic second and third default-button flags (256, 512).
    const auto defaultIndex = qsizetype((call.buttons & defaultButtonMask) >> defaultButtonShift);
    box.setDefaultButton(answers.value(defaultIndex, answers.first()).button);
    box.exec();
    const QMessageBox::StandardButton clicked = box.standardButton(box.clickedButton());
    for (const ButtonAnswer& a : answers)
        if (a.button == clicked)
            return a.answer;
    // Closed without a button: the box's escape answer, Cancel when there is one.
    for (const ButtonAnswer& a : answers)
        if (a.answer == mb::Cancel)
            return a.answer;
    return answers.first().answer;
}

class ScreenBoxes final : public MessageBoxes {
public:
    int show(const MsgBoxCall& call) override { return showBox(call); }
};

} // namespace

MessageBoxes& MessageBoxes::production() {
    static ScreenBoxes screen;
    return screen;
}

int MessageBoxes::firstAnswer(int buttons) {
    return buttonsOf(buttons).first().answer;
}

int MsgBox(const QString& prompt, int buttons, const QString& title) {
    return MessageBoxes::current().show(
        {prompt, buttons, title.isEmpty() ? QCoreApplication::applicationName() : title});
}

} // namespace platform
