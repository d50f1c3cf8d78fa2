#pragma once

// The settings the component saves (application "Halvorn", section "ErrHandler"), for the
// tests of every folder that reads or writes them.

#include "platform/tests/support/settings.h"

#include <QString>

#include <ostream>

// A failed comparison shows the texts, not their bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline void storeSetting(const char* key, const char* value) {
    testsettings::store(QStringLiteral("Halvorn"),
                        QStringLiteral("ErrHandler/") + QLatin1String(key),
                        QString::fromLatin1(value));
}
// Null when nothing is stored.
inline QString storedSetting(const char* key) {
    return testsettings::stored(QStringLiteral("Halvorn"),
                                QStringLiteral("ErrHandler/") + QLatin1String(key));
}
// The saved settings outlive the test and the process.
inline void forgetSettings() {
    testsettings::forget(QStringLiteral("Halvorn"));
}
