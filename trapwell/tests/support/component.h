#pragma once

// For the tests of the component's dialogs and deliveries: a handler as hosts get it, with
// the component's real ports, and the settings the component saves.

#include "componentports.h"
#include "core/handlersettings.h"

#include <trapwell/errhandler.h>

#include <QSettings>

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
    trapwell::core::HandlerSettings::write(QLatin1String(key), QLatin1String(value));
}

// The saved settings outlive the test and the process.
inline void forgetSettings() {
    QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Halvorn")).clear();
}
