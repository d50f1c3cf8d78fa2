#pragma once

// For the tests of the component's dialogs and deliveries: a handler as hosts get it, with
// the component's real ports, and the settings the component saves (application "Halvorn",
// section "ErrHandler").

#include "componentports.h"

#include "platform/tests/support/settings.h"

#include <trapwell/comtypes.h>
#include <trapwell/errhandler.h>

#include <gtest/gtest.h>

#include <ostream>

// A failed comparison shows the texts, not their bytes.
inline void PrintTo(const QString& text, std::ostream* out) {
    *out << '"' << text.toStdString() << '"';
}

inline trapwell::ErrHandler componentHandler() {
    trapwell::ComPtr<trapwell::IclsErrHandler> p;
    EXPECT_EQ(trapwell::createComponentErrHandler(trapwell::IID_clsErrHandler, p.putVoid()),
              trapwell::status::ok);
    return trapwell::ErrHandler(p);
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
