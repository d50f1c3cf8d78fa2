#include "platform/settingsstore.h"

#include "platform/tests/support/outcome.h"

#include <gtest/gtest.h>

#include <QFile>
#include <QStandardPaths>

using namespace platform;

namespace {

QString configFile(const char* name) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + u'/' +
           QString::fromLatin1(name);
}

QString get(const char* app, const char* key, const QString& def = {}) {
    return IniSettingsStore().GetSetting(QString::fromLatin1(app), QStringLiteral("Main"),
                                         QString::fromLatin1(key), def);
}

void save(const char* app, const char* key, const char* value) {
    IniSettingsStore().SaveSetting(QString::fromLatin1(app), QStringLiteral("Main"),
                                   QString::fromLatin1(key), QString::fromLatin1(value));
}

} // namespace

TEST(IniSettingsStore, ValuesRoundTripThroughOneIniFilePerApplication) {
    save("AppOne", "Width", "640");
    save("AppOne", "To", "a@x.org, b@y.org");
    save("AppTwo", "Width", "800");
    EXPECT_TRUE(QFile::exists(configFile("AppTwo.ini")));
    EXPECT_EQ(get("AppOne", "Width"), QStringLiteral("640"));
    EXPECT_EQ(get("AppTwo", "Width"), QStringLiteral("800"));
    EXPECT_EQ(get("AppOne", "To"), QStringLiteral("a@x.org, b@y.org"));
    EXPECT_EQ(get("AppTwo", "To", QStringLiteral("none")), QStringLiteral("none"));
}

TEST(IniSettingsStore, HandEditedFilesAndWriteFailures) {
    QFile edited(configFile("HandEdited.ini"));
    ASSERT_TRUE(edited.open(QIODevice::WriteOnly));
    edited.write("[Main]\nTo=a@x.org, b@y.org\n");
    edited.close();
    EXPECT_EQ(get("HandEdited", "To"), QStringLiteral("a@x.org, b@y.org"));

    // A plain file where the application's folder would have to be.
    QFile blocker(configFile("Blocker"));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(outcome([] { save("Blocker/App", "K", "v"); }), "error 75");
}

TEST(SettingsStoreOverride, NestsAndRestoresThePreviousStore) {
    SettingsStore& real = SettingsStore::current();
    EXPECT_NE(dynamic_cast<IniSettingsStore*>(&real), nullptr);
    IniSettingsStore outer, inner;
    {
        SettingsStore::Override useOuter(outer);
        {
            SettingsStore::Override useInner(inner);
            EXPECT_EQ(&SettingsStore::current(), &inner);
        }
        EXPECT_EQ(&SettingsStore::current(), &outer);
    }
    EXPECT_EQ(&SettingsStore::current(), &real);
}
