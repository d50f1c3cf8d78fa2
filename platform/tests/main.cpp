#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Settings go to a folder of our own, never the user's configuration; QSettings finds
    // its user folder through XDG_CONFIG_HOME, so this must be set before anything reads it.
    QTemporaryDir configHome;
    if (!configHome.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("PlatformTests"));
    return RUN_ALL_TESTS();
}
