// The main of every test executable: private XDG folders, so no test touches the user's
// settings, data or session nor another test's when run in parallel; the C locale, so texts
// that follow the locale are the same everywhere; and the offscreen platform unless a test
// runs under an X server of its own. Executables that need more register a GoogleTest
// environment.

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform warns at every opacity change and raise; tests make hundreds.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.startsWith(QLatin1String("This plugin does not support")))
        defaultHandler(type, context, message);
}

bool setFolder(const char* variable, const QTemporaryDir& home, const QString& name) {
    const QString path = home.filePath(name);
    if (!QDir().mkpath(path))
        return false;
    qputenv(variable, QFile::encodeName(path));
    return true;
}

} // namespace

int main(int argc, char** argv) {
    // Qt reads these before anything else, so they are set before the application exists.
    QTemporaryDir home; // mode 0700, as the runtime folder must be
    if (!home.isValid())
        return 2;
    if (!setFolder("XDG_CONFIG_HOME", home, QStringLiteral("config")) ||
        !setFolder("XDG_DATA_HOME", home, QStringLiteral("data")) ||
        !setFolder("XDG_STATE_HOME", home, QStringLiteral("state")) ||
        !setFolder("XDG_CACHE_HOME", home, QStringLiteral("cache")))
        return 2;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(home.path()));
    qputenv("LC_ALL", "C.UTF-8");
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(quietHandler);

    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
