#include "platform/inidocument.h"
#include "platform/settingsstore.h"

#include "platform/tests/support/files.h"
#include "platform/tests/support/golden.h"
#include "platform/tests/support/outcome.h"
#include "platform/tests/support/settings.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QSettings>

#include <sys/stat.h>
#include <unistd.h>

using namespace platform;
using namespace Qt::StringLiterals;

namespace {

QString configFile(const QString& application) {
    return testsettings::path(application);
}

// Whatever an earlier round left under the application's name is gone, folder or file.
void plant(const QString& application, const QByteArray& bytes) {
    QDir(configFile(application)).removeRecursively();
    testsettings::forget(application);
    ASSERT_TRUE(writeBytes(configFile(application), bytes));
}

std::string get(const QString& app, const QString& section, const QString& key) {
    return outcome([&] { return IniSettingsStore().GetSetting(app, section, key, u"(none)"_s); });
}

std::string save(const QString& app, const QString& section, const QString& key,
                 const QString& value) {
    return outcome([&] { IniSettingsStore().SaveSetting(app, section, key, value); });
}

// Values that need QSettings' quoting and escapes: list separators, a comment sign, quotes,
// backslashes, control characters (one followed by a hex digit), a leading "@", blanks at
// the ends, text beyond Latin-1 and beyond the 16-bit range.
const QStringList awkwardValues = {u"a@x.org, b@y.org"_s,
                                   u"semi; colon = equals"_s,
                                   u"\"quoted\" back\\slash"_s,
                                   u"tab\there\nline\x01"_s + u'9',
                                   u"@at"_s,
                                   u" blanks "_s,
                                   u""_s,
                                   QString::fromUtf8("é € 😀"),
                                   QString(u'\0') + u"1"_s};

} // namespace

TEST(IniSettingsStore, ReadsAndWritesTheFilesQSettingsWrote) {
    const QString app = u"Compat"_s;
    testsettings::forget(app);
    {
        QSettings qt(QSettings::IniFormat, QSettings::UserScope, app);
        for (int i = 0; i < awkwardValues.size(); ++i)
            qt.setValue(u"Check Box Selection/Check Box %1"_s.arg(i), awkwardValues[i]);
        qt.setValue(u"ErrHandler/EmailType"_s, u"2"_s);
    }
    const QByteArray written = fileBytes(configFile(app));
    ASSERT_TRUE(written.contains("[Check%20Box%20Selection]\nCheck%20Box%200="));
    for (int i = 0; i < awkwardValues.size(); ++i)
        EXPECT_EQ(
            IniSettingsStore().GetSetting(app, u"Check Box Selection"_s, u"Check Box %1"_s.arg(i)),
            awkwardValues[i])
            << i;
    EXPECT_EQ(get(app, u"ErrHandler"_s, u"EmailType"_s), "2");
    EXPECT_EQ(get(app, u"ErrHandler"_s, u"Missing"_s), "(none)");

    // Writing what is there already leaves the file alone, byte for byte.
    for (int i = 0; i < awkwardValues.size(); ++i)
        save(app, u"Check Box Selection"_s, u"Check Box %1"_s.arg(i), awkwardValues[i]);
    EXPECT_EQ(fileBytes(configFile(app)), written);

    // Our writes read back through QSettings; keys with blanks and new sections included.
    for (int i = 0; i < awkwardValues.size(); ++i)
        EXPECT_EQ(save(app, u"Fresh Section"_s, u"Key %1"_s.arg(i), awkwardValues[i]), "ok");
    save(app, u"ErrHandler"_s, u"EmailType"_s, u"0"_s);
    QSettings qt(QSettings::IniFormat, QSettings::UserScope, app);
    EXPECT_EQ(qt.status(), QSettings::NoError);
    for (int i = 0; i < awkwardValues.size(); ++i) {
        EXPECT_EQ(qt.value(u"Fresh Section/Key %1"_s.arg(i)).toString(), awkwardValues[i]) << i;
        EXPECT_EQ(IniDocument::escapedValue(awkwardValues[i]),
                  written.split('\n')[i + 1].mid(written.split('\n')[i + 1].indexOf('=') + 1))
            << i;
    }
    EXPECT_EQ(qt.value(u"ErrHandler/EmailType"_s).toString(), u"0"_s);
}

TEST(IniSettingsStore, AWriteChangesOnlyItsKeyAndKeepsCommentsAndForeignSections) {
    const QString app = u"Edited"_s;
    // A file an editor wrote: byte-order mark, comments, CR LF, no line end at the end.
    plant(app, golden::expected("edited-before.ini"));
    EXPECT_EQ(get(app, u"Other Tool"_s, u"colour"_s), "dark");
    EXPECT_EQ(save(app, u"ErrHandler"_s, u"EmailType"_s, u"2"_s), "ok");
    EXPECT_EQ(save(app, u"ErrHandler"_s, u"EmailFlag"_s, u"True"_s), "ok");
    EXPECT_EQ(save(app, u"Tail"_s, u"next"_s, u"2"_s), "ok");
    EXPECT_EQ(save(app, u"Check Box Selection"_s, u"Check Box 4"_s, u"1"_s), "ok");
    EXPECT_GOLDEN(fileBytes(configFile(app)), "edited.ini");
}

TEST(IniSettingsStore, ADamagedFileIsReportedWhenReadAndNeverRewritten) {
    // QSettings dropped everything after such a line when it next wrote the file.
    for (const QByteArray& damage : {QByteArray("[Broken\n"), QByteArray("no equals sign\n"),
                                     QByteArray("open=\"never closed\n")}) {
        const QString app = u"Damaged"_s;
        const QByteArray before =
            "[ErrHandler]\nEmailType=1\n" + damage + "[Foreign]\n; a comment\nkey=value\n";
        plant(app, before);
        EXPECT_EQ(get(app, u"ErrHandler"_s, u"EmailType"_s), "error 75");
        EXPECT_EQ(get(app, u"Foreign"_s, u"key"_s), "error 75");
        // Writes are dropped, so a program that saves a setting at start still starts.
        EXPECT_EQ(save(app, u"ErrHandler"_s, u"EmailType"_s, u"2"_s), "ok");
        EXPECT_EQ(save(app, u"ErrHandler"_s, u"New"_s, u"x"_s), "ok");
        EXPECT_EQ(save(app, u"Other"_s, u"New"_s, u"x"_s), "ok");
        EXPECT_EQ(fileBytes(configFile(app)), before) << damage.constData();
    }
}

TEST(IniSettingsStore, FilesThatCannotBeReadRaiseWithoutHangingOrChangingThem) {
    const auto refused = [](const QString& app) {
        EXPECT_EQ(get(app, u"ErrHandler"_s, u"EmailType"_s), "error 75") << app.toStdString();
        EXPECT_EQ(save(app, u"ErrHandler"_s, u"EmailType"_s, u"2"_s), "error 75")
            << app.toStdString();
    };
    for (const char* name : {"Folder", "Fifo", "Endless", "Blocker"}) {
        QDir(configFile(QString::fromLatin1(name))).removeRecursively();
        testsettings::forget(QString::fromLatin1(name));
    }
    QDir().mkpath(configFile(u"Folder"_s));
    ASSERT_EQ(::mkfifo(QFile::encodeName(configFile(u"Fifo"_s)).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(u"/dev/zero"_s, configFile(u"Endless"_s)));
    for (const QString& app : {u"Folder"_s, u"Fifo"_s, u"Endless"_s})
        refused(app);
    EXPECT_TRUE(QFileInfo(configFile(u"Folder"_s)).isDir());

    const QByteArray huge = "[ErrHandler]\nEmailType=1\n" + QByteArray(1024 * 1024, ';');
    plant(u"Huge"_s, huge);
    refused(u"Huge"_s);
    EXPECT_EQ(fileBytes(configFile(u"Huge"_s)), huge);

    if (::geteuid() != 0) { // root reads anything
        plant(u"Locked"_s, "[ErrHandler]\nEmailType=1\n");
        QFile::setPermissions(configFile(u"Locked"_s), QFileDevice::WriteOwner);
        refused(u"Locked"_s);
    }

    // A plain file where the application's folder would have to be: nothing stored yet, and
    // nowhere to store it.
    QFile blocker(configFile(u"Blocker"_s).chopped(4));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    EXPECT_EQ(get(u"Blocker/App"_s, u"Main"_s, u"K"_s), "(none)");
    EXPECT_EQ(save(u"Blocker/App"_s, u"Main"_s, u"K"_s, u"v"_s), "error 75");
}
