// What the program sets up before its window shows: the display platform and its error
// component. A start that cannot succeed is x11/startup_x11_test.sh, with the built program.

#include "tracing/veltranoapplication.h"

#include "presentation/tests/support/programfixture.h"

#include "platform/tests/support/golden.h"

#include <QApplication>
#include <QLineEdit>
#include <QTimer>

#include <functional>

using veltrano::VeltranoApplication;

namespace {

// The title and the text boxes of each modal dialog that `opens` shows, closed once read.
QStringList dialogTexts(const std::function<void()>& opens) {
    QStringList texts;
    QTimer look;
    QObject::connect(&look, &QTimer::timeout, [&] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            texts << dialog->windowTitle();
            for (const QLineEdit* box : dialog->findChildren<QLineEdit*>())
                texts << box->text();
            dialog->close();
        }
    });
    look.start(10);
    opens();
    return texts;
}

} // namespace

// X11 keeps the strip above other windows without its taking the focus; Wayland does
// neither. The program asks for X11 only where there is an X display and the user chose no
// platform, in the variable or with -platform.
TEST(PreferX11, TheUsersChoiceOfPlatformStands) {
    const QByteArray display = qgetenv("DISPLAY"), platform = qgetenv("QT_QPA_PLATFORM");
    const struct {
        const char* name;
        const char* display;
        const char* platform;
        QList<QByteArray> arguments;
        QByteArray chosen;
    } rows[] = {
        {"a display", ":0", nullptr, {}, "xcb"},
        {"other arguments", ":0", nullptr, {"-style", "fusion"}, "xcb"},
        {"-platform", ":0", nullptr, {"-style", "fusion", "-platform", "wayland"}, ""},
        {"the variable", ":0", "wayland", {}, "wayland"},
        {"no display", nullptr, nullptr, {}, ""},
    };
    for (auto row : rows) {
        for (const auto& [name, value] :
             {std::pair("DISPLAY", row.display), std::pair("QT_QPA_PLATFORM", row.platform)})
            value ? qputenv(name, value) : qunsetenv(name);
        row.arguments.prepend("veltrano");
        std::vector<char*> argv;
        for (QByteArray& argument : row.arguments)
            argv.push_back(argument.data());
        VeltranoApplication::preferX11(int(argv.size()), argv.data());
        EXPECT_EQ(qgetenv("QT_QPA_PLATFORM").toStdString(), row.chosen.toStdString()) << row.name;
    }
    qputenv("DISPLAY", display);
    qputenv("QT_QPA_PLATFORM", platform);
}

using StartUpTest = ProgramTest;

// The error component as the program configures it, as it reports itself, in its mail
// settings dialog and by showing its dialog for an error.
TEST_F(StartUpTest, TheErrorComponentIsConfiguredForThisProgram) {
    veltrano::ProgramTestAccess::startOver(); // as the program made it
    const trapwell::ErrHandler h = handler();
    const bool logEvent = h.LogEvent();
    h.setLogEvent(false); // the error below stays out of the system log
    const QStringList mailDialog = dialogTexts([&] { h.ChangeEmailSettings(); });
    h.Push(QStringLiteral("Form1.Test"));
    const QStringList errorDialog = dialogTexts([&] { h.HandleError(QStringLiteral("Test"), 5); });
    const auto on = [](std::initializer_list<bool> flags) {
        QStringList words;
        for (const bool flag : flags)
            words << (flag ? "on" : "off");
        return words.join(u' ');
    };
    const QStringList seen = {
        "mail settings: " + mailDialog.join(" | "),
        "error dialog: " + errorDialog.join(" | "),
        "EmailType: " + QString::number(h.EmailType()),
        "Destination: " + h.Destination(),
        "RepeatWindow: " + QString::number(h.RepeatWindow()),
        "TraceFlushInterval: " + QString::number(h.TraceFlushInterval()),
        "ShowAppInfo ShowDBInfo ShowSysInfo PostAvailable: " +
            on({h.ShowAppInfo(), h.ShowDBInfo(), h.ShowSysInfo(), h.PostAvailable()}),
        "LogEvent Outbox PrivateReports CrashCapture: " +
            on({logEvent, h.Outbox(), h.PrivateReports(), h.CrashCapture()}),
    };
    EXPECT_GOLDEN((seen.join(u'\n') + u'\n').toUtf8(), "errorcomponent.txt",
                  {{"@FOLDER@", veltrano::ProgramFolder::logFolder().toUtf8()}});
}
