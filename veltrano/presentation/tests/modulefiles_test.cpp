#include "presentation/modulefiles.h"
#include "tracing/programfolder.h"

#include "platform/tests/support/files.h"
#include "platform/tests/support/golden.h"

#include <QStandardPaths>
#include <QTemporaryDir>

// Which file module N is read from, for every set a learner may have chosen and every set of
// the user's copies: one line a case in data/modulefiles.txt. A copy made while one set was
// chosen shows in no other; "fr" is not offered and reads as English.
TEST(ModuleFilesTest, TheUsersCopyOfTheChosenSetThenTheSetThenEnglish) {
    const QTemporaryDir program;
    const veltrano::ProgramFolder::Override folder(program.path());
    const QString user =
        QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) + "/veltrano";
    for (const char* shipped : {"data/7.txt", "data-de/7.txt", "data/8.txt"})
        ASSERT_TRUE(writeBytes(program.filePath(shipped), ""));
    QByteArray table;
    for (const QString set : {"en", "de", "fr"})
        for (const QStringList& copies :
             {QStringList(), {"data"}, {"data-de"}, {"data", "data-de"}})
            for (const int module : {7, 8}) {
                QDir(user).removeRecursively();
                for (const QString& copy : copies)
                    ASSERT_TRUE(
                        writeBytes(QString("%1/%2/%3.txt").arg(user, copy).arg(module), ""));
                table += QString("%1, module %2, copies in [%3]: %4\n")
                             .arg(set)
                             .arg(module)
                             .arg(copies.join(' '), veltrano::ModuleFiles::path(module, set))
                             .toUtf8();
            }
    QDir(user).removeRecursively();
    EXPECT_GOLDEN(table, "modulefiles.txt",
                  {{"@USER@", user.toUtf8()}, {"@PROGRAM@", program.path().toUtf8()}});
}
