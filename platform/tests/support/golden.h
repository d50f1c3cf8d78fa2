#pragma once

// Long expected texts live in golden files in the data/ folder beside the test that reads
// them, kept byte for byte (CR LF included, see .gitattributes). A golden file may hold
// placeholders such as "@TEMP@" that the test fills in with what differs per run.
//
// Run a test with VELTRANO_UPDATE_GOLDEN=1 to write what it produced into its golden files
// instead of comparing; review the diff before committing it.

#include <QByteArray>
#include <QFile>
#include <QList>
#include <QString>

#include <gtest/gtest.h>

#include <utility>

#ifndef TEST_DATA_DIR
#error "TEST_DATA_DIR names the test's golden-file folder; add_project_test sets it"
#endif

namespace golden {

using Fill = QList<std::pair<QByteArray, QByteArray>>;

inline QString path(const char* name) {
    return QStringLiteral(TEST_DATA_DIR "/") + QString::fromUtf8(name);
}

// The golden file's bytes with its placeholders filled in.
inline QByteArray expected(const char* name, const Fill& fill = {}) {
    QFile file(path(name));
    QByteArray bytes = file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    for (const auto& [placeholder, value] : fill)
        bytes.replace(placeholder, value);
    return bytes;
}

// Equal bytes, or a failure that names the first line that differs and shows both versions.
inline ::testing::AssertionResult matches(const QByteArray& actual, const char* name,
                                          const Fill& fill = {}) {
    if (qEnvironmentVariableIsSet("VELTRANO_UPDATE_GOLDEN")) {
        QByteArray bytes = actual;
        for (const auto& [placeholder, value] : fill)
            if (!value.isEmpty())
                bytes.replace(value, placeholder);
        QFile file(path(name));
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
            file.write(bytes) == bytes.size())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "cannot write " << path(name).toStdString();
    }
    if (!QFile::exists(path(name)))
        return ::testing::AssertionFailure() << "no golden file " << path(name).toStdString();
    const QByteArray want = expected(name, fill);
    if (actual == want)
        return ::testing::AssertionSuccess();
    const QList<QByteArray> got = actual.split('\n');
    const QList<QByteArray> wanted = want.split('\n');
    qsizetype line = 0;
    while (line < got.size() && line < wanted.size() && got[line] == wanted[line])
        ++line;
    const auto show = [](const QList<QByteArray>& lines, qsizetype i) {
        if (i >= lines.size())
            return std::string("<end>");
        return "\"" + QByteArray(lines[i]).replace("\r", "\\r").toStdString() + "\"";
    };
    return ::testing::AssertionFailure()
           << name << " differs at line " << line + 1 << ":\n  expected " << show(wanted, line)
           << "\n  actual   " << show(got, line) << "\n(" << actual.size() << " bytes against "
           << want.size() << ")";
}

} // namespace golden

// EXPECT_GOLDEN(bytes, "name.txt") or EXPECT_GOLDEN(bytes, "name.txt", {{"@TEMP@", path}})
#define EXPECT_GOLDEN(actual, ...) EXPECT_TRUE(golden::matches((actual), __VA_ARGS__))
