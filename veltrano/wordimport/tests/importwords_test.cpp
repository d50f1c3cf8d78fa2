#include "wordimport/importcommand.h"
#include "wordimport/importwords.h"

#include "platform/tests/support/files.h"
#include "platform/tests/support/golden.h"

#include <QDirIterator>
#include <QMap>
#include <QProcess>
#include <QSqlDatabase>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using veltrano::ImportResult;
using veltrano::importWords;

namespace {

const QString inputs = QStringLiteral(TEST_DATA_DIR "/in-");

// Every file and folder below folder, with the files' bytes.
QMap<QString, QByteArray> contents(const QString& folder) {
    QMap<QString, QByteArray> found;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        found[QDir(folder).relativeFilePath(path)] =
            QFileInfo(path).isDir() ? QByteArray("<folder>") : fileBytes(path);
    }
    return found;
}

// Empty when the program ran to a good end, else what went wrong.
QString run(const QString& program, const QStringList& arguments,
            const QProcessEnvironment& environment = QProcessEnvironment::systemEnvironment()) {
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    if (process.waitForFinished(120000) && process.exitStatus() == QProcess::NormalExit &&
        process.exitCode() == 0)
        return {};
    return program + QStringLiteral(" failed: ") + process.errorString() + u' ' +
           QString::fromLocal8Bit(process.readAllStandardError());
}

} // namespace

// Each case has its own user and shipped modules, and its own temporary folder, which must be
// empty again afterwards; the packages other writers made are made once for all.
class WordImportTest : public ::testing::Test {
protected:
    // The folder the scripts write into, for all cases.
    static QTemporaryDir& made() {
        static QTemporaryDir folder;
        return folder;
    }
    // make_packages.py's packages, made at the first call: why they could not be, or nothing.
    static QString makePackages() {
        static const QString problem =
            run(QStringLiteral("python3"),
                {QStringLiteral(WORDIMPORT_SCRIPTS "/make_packages.py"), made().path()});
        return problem;
    }
    // The same for make_decks.js's decks, which need anki-apkg-export.
    static QString makeDecks() {
        static const QString problem = [] {
            const QString writer = QStringLiteral(APKG_EXPORT_DIR "/node_modules");
            if (!QFileInfo::exists(writer + QStringLiteral("/anki-apkg-export")))
                return QStringLiteral("anki-apkg-export is not in " APKG_EXPORT_DIR " (./test "
                                      "installs it with scripts/install-apkg-export.sh, which "
                                      "needs npm)");
            QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
            environment.insert(QStringLiteral("NODE_PATH"), writer);
            return run(QStringLiteral("node"),
                       {QStringLiteral(WORDIMPORT_SCRIPTS "/make_decks.js"), made().path()},
                       environment);
        }();
        return problem;
    }

    void SetUp() override {
        made(); // in the real temporary folder, before TMPDIR names the case's own
        ASSERT_TRUE(QDir().mkpath(tmp));
        qputenv("TMPDIR", QFile::encodeName(tmp));
        target.userFolder = root.filePath(QStringLiteral("user"));
        target.shippedFolder = root.filePath(QStringLiteral("shipped"));
        // New Words without a line end after its last entry, as an editor may leave it.
        ASSERT_TRUE(writeBytes(target.shippedFolder + QStringLiteral("/25.txt"),
                               "adulting - handling grown-up chores\r\nrizz - charm"));
        ASSERT_TRUE(writeBytes(target.shippedFolder + QStringLiteral("/4.txt"),
                               "abaft - astern\r\nApfel - an apple\r\n"));
    }
    void TearDown() override {
        qunsetenv("TMPDIR");
        EXPECT_EQ(QSqlDatabase::connectionNames(), QStringList());
        EXPECT_EQ(QDir(tmp).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                  QStringList());
        const QStringList written =
            QDir(target.userFolder)
                .entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
        for (const QString& name : written)
            EXPECT_TRUE(QRegularExpression(QStringLiteral("^\\d+\\.txt$")).match(name).hasMatch())
                << name.toStdString();
    }

    // Imports file twice, and reports what both imports said and the user's modules after the
    // first: the second must add nothing.
    QByteArray importTwice(const QString& file) {
        const ImportResult first = importWords(file, target);
        const QMap<QString, QByteArray> written = contents(target.userFolder);
        const ImportResult again = importWords(file, target);
        EXPECT_TRUE(first.ok && again.ok) << first.message.toStdString();
        EXPECT_EQ(again.imported, 0) << again.message.toStdString();
        EXPECT_EQ(contents(target.userFolder), written);
        QByteArray report = "== " + QFileInfo(file).fileName().toUtf8() + "\r\n" +
                            first.message.toUtf8() + "\r\n" + again.message.toUtf8() + "\r\n";
        for (const int module : first.modules)
            report += "written: " + QByteArray::number(module) + "\r\n";
        for (auto it = written.cbegin(); it != written.cend(); ++it)
            report += "-- " + it.key().toUtf8() + "\r\n" + it.value();
        return report;
    }

    QTemporaryDir root;
    const QString tmp = root.filePath(QStringLiteral("tmp"));
    veltrano::ImportTarget target;
};

TEST_F(WordImportTest, TextFilesGiveTheirEntriesOnceAsTheirHeadersSay) {
    QByteArray report;
    for (const char* name :
         {"spreadsheet.csv", "semicolons.csv", "words.tsv", "anki-export.txt", "for-anki.csv"}) {
        QDir(target.userFolder).removeRecursively();
        report += importTwice(inputs + QLatin1String(name));
    }
    EXPECT_GOLDEN(report, "text-imports.txt");
}

// Packages of recent versions: their newest collection, not the one that asks to update.
TEST_F(WordImportTest, PackagesGiveTheirNewestCollection) {
    if (const QString problem = makePackages(); !problem.isEmpty())
        GTEST_SKIP() << problem.toStdString();
    QByteArray report = importTwice(made().filePath(QStringLiteral("recent.apkg")));
    QDir(target.userFolder).removeRecursively();
    EXPECT_GOLDEN(report + importTwice(made().filePath(QStringLiteral("legacy.apkg"))),
                  "packages.txt");
}

// Each word into its letter's module, which starts as a copy of the shipped one.
TEST_F(WordImportTest, DecksOfAnotherWriterGoIntoTheirLettersModules) {
    if (const QString problem = makeDecks(); !problem.isEmpty())
        GTEST_SKIP() << problem.toStdString();
    target.byLetter = true;
    EXPECT_GOLDEN(importTwice(made().filePath(QStringLiteral("exported.apkg"))), "exported.txt");
    EXPECT_EQ(importWords(made().filePath(QStringLiteral("empty.apkg")), target).message,
              "Nothing imported: empty.apkg holds no notes.");
}

// Nothing is written, nor left behind, when a file is not what its name says, is damaged or
// hostile, or would fill a module past what the presentation reads.
TEST_F(WordImportTest, FilesThatCannotBeImportedChangeNothingAndSayWhy) {
    if (const QString problem = makePackages(); !problem.isEmpty())
        GTEST_SKIP() << problem.toStdString();
    QByteArray full;
    for (int i = 0; i < 32766; ++i)
        full += "w" + QByteArray::number(i) + " - x\r\n";
    ASSERT_TRUE(writeBytes(target.userFolder + QStringLiteral("/25.txt"), full));
    QStringList files;
    for (const char* name : {"latin1.csv", "unclosed.csv", "binary.tsv", "titles-only.csv",
                             "letters.docx", "missing.txt", "words.tsv"})
        files.append(inputs + QLatin1String(name));
    for (const char* name :
         {"not-a-zip", "cut-short", "no-collection", "no-notes", "not-sqlite", "not-zstd",
          "cut-zstd", "update-notice", "climbing", "absolute", "bomb", "lying-bomb", "zstd-bomb"})
        files.append(made().filePath(QLatin1String(name) + QStringLiteral(".apkg")));
    files.append(made().path());
    const QMap<QString, QByteArray> before = contents(root.path());
    QByteArray report;
    for (const QString& file : files) {
        const ImportResult result = importWords(file, target);
        EXPECT_FALSE(result.ok) << file.toStdString();
        EXPECT_EQ(contents(root.path()), before) << file.toStdString();
        report += result.message.toUtf8() + "\r\n";
    }
    target.module = 3;
    report += importWords(inputs + QStringLiteral("words.tsv"), target).message.toUtf8();
    EXPECT_GOLDEN(report, "failures.txt",
                  {{"@MADE@", QFileInfo(made().path()).fileName().toUtf8()}});
}

TEST_F(WordImportTest, CommandLineTellsTheResultOrHowToCallIt) {
    const QString csv = inputs + QStringLiteral("spreadsheet.csv");
    const QList<QStringList> calls = {
        {"--import", csv, "--module", "letter"},
        {"--import", csv, "--module", "4"},
        {"--import", csv, "--module", "26"},
        {"--import", csv, "--module", "B"},
        {"--module", "5"},
        {"--import", csv, "extra"},
        {"--import"},
    };
    QByteArray report;
    for (const QStringList& call : calls) {
        QString out, err;
        QTextStream outStream(&out), errStream(&err);
        const int code = veltrano::runImportCommand(QStringList{QStringLiteral("veltrano")} + call,
                                                    outStream, errStream, target);
        report += "$ veltrano " +
                  call.join(u' ').replace(csv, QStringLiteral("words.csv")).toUtf8() + "\nexit " +
                  QByteArray::number(code) + "\nout: " + out.toUtf8() + "\nerr: " + err.toUtf8() +
                  "\n";
    }
    EXPECT_GOLDEN(report, "command.txt");
}
