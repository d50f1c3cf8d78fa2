#pragma once

#include "core/clserrhandler.h"

#include <trapwell/errhandler.h>

#include <QObject>
#include <QSettings>
#include <QTemporaryDir>

#include <gtest/gtest.h>

// A fresh handler object, reached through the host-side wrapper as a host would, plus the
// object itself for the fields the interface does not offer.
class HandlerTest : public ::testing::Test {
protected:
    // Settings outlive the object and the process: each test starts from none.
    HandlerTest() : handler((clearSettings(), create())) {}
    // The parameter lists belong to the thread, not to the object, and outlive it: popping
    // what the test pushed drops them, so the next test starts from an empty table.
    ~HandlerTest() override {
        while (handler.CallStack().size() > 1)
            handler.Pop();
        clearSettings();
    }
    static void clearSettings() {
        QSettings(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Halvorn")).clear();
    }

    static trapwell::ErrHandler create() {
        trapwell::ComPtr<trapwell::IclsErrHandler> p;
        EXPECT_EQ(trapwell::core::createClsErrHandler(trapwell::IID_clsErrHandler, p.putVoid()),
                  trapwell::status::ok);
        return trapwell::ErrHandler(p);
    }
    trapwell::core::ClsErrHandler& object() const {
        return *static_cast<trapwell::core::ClsErrHandler*>(handler.get());
    }

    // The error a call raised, or a failure when it raised none.
    template <class F> static trapwell::RuntimeError errorOf(F&& f) {
        try {
            f();
        } catch (const trapwell::RuntimeError& e) {
            return e;
        }
        ADD_FAILURE() << "no error was raised";
        return trapwell::RuntimeError(0, {}, {});
    }

    QTemporaryDir temp;
    trapwell::ErrHandler handler;
};

// An application object as hosts hand it over: members read by name.
class AppInfo : public QObject {
    Q_OBJECT
    Q_PROPERTY(QString Title MEMBER Title)
    Q_PROPERTY(QString ProductName MEMBER ProductName)
    Q_PROPERTY(int Major MEMBER Major)
    Q_PROPERTY(int Minor MEMBER Minor)
    Q_PROPERTY(int Revision MEMBER Revision)
    Q_PROPERTY(QString Path MEMBER Path)
public:
    QString Title = QStringLiteral("Trainer Title");
    QString ProductName = QStringLiteral("Trainer");
    int Major = 2;
    int Minor = 1;
    int Revision = 7;
    QString Path;
};
