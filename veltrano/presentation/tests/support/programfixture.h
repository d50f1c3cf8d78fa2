#pragma once

#include "presentation/form2.h"
#include "presentation/modulefiles.h"
#include "presentation/presentationstate.h"
#include "presentation/readingplace.h"
#include "presentation/wordsets.h"
#include "tracing/clsaehandling.h"
#include "tracing/programfolder.h"

#include "platform/clock.h"
#include "platform/tests/support/files.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace veltrano {

// The program keeps one display window and one error component for the whole run.
class ProgramTestAccess {
public:
    static void startOver() {
        delete Form2::theWindow_;
        Form2::theWindow_ = nullptr;
        clsAEHandling::instance().reset();
    }
};

} // namespace veltrano

// A program folder of the test's own (with its data/ and logs), an empty settings store, a
// fresh error component configured as the program configures it but without its dialog or
// the system log, fresh presentation state and no display window.
class ProgramTest : public ::testing::Test {
protected:
    ProgramTest() : folder_(temp.path()) {
        const QDir config(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
        for (const QString& name : config.entryList({QStringLiteral("*.ini")}, QDir::Files))
            if (name != QLatin1String("ComClasses.ini"))
                QFile::remove(config.filePath(name));
        QDir(temp.path()).mkdir(QStringLiteral("data"));
        forgetUserModules();
        QFile::remove(veltrano::ReadingPlace::filePath()); // each test's modules start afresh
        veltrano::ProgramTestAccess::startOver();
        handler().setUseInterface(false);
        handler().setLogEvent(false);
        // The trace started beside the component; start it again in the test's folder.
        handler().setTraceExecution(true);
        veltrano::Presentation::SelectedModule = 0;
        veltrano::Presentation::WordIndex = 0;
        veltrano::Presentation::WordInterval = 15;
        veltrano::Presentation::running = false;
    }
    ~ProgramTest() override {
        forgetUserModules();
        veltrano::ProgramTestAccess::startOver();
    }

    // The user's own modules of every set.
    static void forgetUserModules() {
        for (const veltrano::WordSet& set : veltrano::wordSets)
            QDir(veltrano::ModuleFiles::userFolder(QLatin1String(set.code))).removeRecursively();
    }
    static trapwell::ErrHandler handler() { return veltrano::clsAEHandling::shared().Handler(); }

    // Module `number` in a folder beside the program (data/, or a word set's data-XX/).
    void writeModule(int number, const QByteArray& bytes,
                     const QString& folder = QStringLiteral("data")) const {
        writeFile(temp.filePath(folder + QStringLiteral("/%1.txt").arg(number)), bytes);
    }
    // The user's own copy of module `number`.
    static void writeUserModule(int number, const QByteArray& bytes) {
        writeFile(veltrano::ModuleFiles::userPath(number), bytes);
    }
    static void writeFile(const QString& path, const QByteArray& bytes) {
        ASSERT_TRUE(writeBytes(path, bytes));
    }
    // The trace so far: the program lets lines wait in memory for up to a second.
    QStringList traceLines() const {
        handler().FlushTrace();
        QStringList lines = QString::fromLocal8Bit(fileBytes(temp.filePath("Trace.log")))
                                .split(QStringLiteral("\r\n"));
        lines.removeLast();
        return lines;
    }

    QTemporaryDir temp;

private:
    veltrano::ProgramFolder::Override folder_;
};

// A clock that moves on by step seconds at every reading, so waits end after a known number
// of passes without real waiting.
class SteppingClock final : public platform::Clock {
public:
    SteppingClock(double start, double step) : seconds_(start), step_(step) {}
    QDateTime now() const override {
        const double s = seconds_;
        seconds_ += step_;
        if (seconds_ >= 86400.0)
            seconds_ -= 86400.0;
        return QDateTime(QDate(2026, 12, 6), QTime::fromMSecsSinceStartOfDay(int(s * 1000.0)));
    }
    double peek() const { return seconds_; }

private:
    mutable double seconds_;
    double step_;
};
