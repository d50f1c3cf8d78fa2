#pragma once

#include "core/clserrhandler.h"
#include "core/errordialogport.h"
#include "core/handlerports.h"
#include "core/proceduretable.h"

#include <trapwell/errhandler.h>

#include <QFile>
#include <QObject>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <vector>

// The handler's ports without widgets: the dialog is a field store (or a test's own), mail
// requests are written down, and a test may make them fail.
class FakePorts final : public trapwell::core::HandlerPorts {
public:
    class Dialog : public trapwell::core::ErrorDialogPort {
    public:
        void setField(trapwell::core::ErrorDialogField, const QVariant&) override {}
        void refresh() override {}
        void setNotes(const trapwell::core::DialogNotes& n) override { notes = n; }
        void showModal() override { ++shown; }
        QString postingAddress() const override { return address; }
        void setPostingAddress(const QString& a) override { address = a; }
        int shown = 0;
        QString address;
        trapwell::core::DialogNotes notes;
    };

    trapwell::core::ErrorDialogPort& errorDialog() override {
        return replacementDialog ? *replacementDialog : dialog;
    }
    void changeEmailSettings() override { ++settingsShown; }
    void transmitMail(const trapwell::core::MailRequest& request) override {
        mails.push_back(request);
        if (mailFailure)
            mailFailure();
    }

    void sendReport(const trapwell::core::CollectorReport& report) override {
        reports.push_back(report);
    }

    Dialog dialog;
    trapwell::core::ErrorDialogPort* replacementDialog = nullptr;
    std::vector<trapwell::core::CollectorReport> reports;
    int settingsShown = 0;
    std::vector<trapwell::core::MailRequest> mails;
    std::function<void()> mailFailure;
};

// Stands in for the error dialog and listens to the events, writing down each step in order.
class Journal final : public trapwell::core::ErrorDialogPort,
                      public trapwell::IclsErrHandlerEvents {
public:
    explicit Journal(QString errorLog) : errorLog(std::move(errorLog)) {}
    void setField(trapwell::core::ErrorDialogField field, const QVariant& value) override {
        entries << QStringLiteral("field %1").arg(int(field));
        fields[field] = value;
    }
    void refresh() override { entries << QStringLiteral("refresh"); }
    void showModal() override {
        entries << QStringLiteral("show");
        QFile log(errorLog);
        errorLogWhenShown = log.open(QIODevice::ReadOnly) ? log.readAll() : QString();
    }
    QString postingAddress() const override { return {}; }
    void setPostingAddress(const QString&) override {}
    trapwell::HResult queryInterface(const trapwell::Guid&, void** out) override {
        *out = static_cast<IclsErrHandlerEvents*>(this);
        return trapwell::status::ok;
    }
    std::uint32_t addRef() override { return 2; }
    std::uint32_t release() override { return 1; }
    trapwell::HResult BeforeHandlerCalled(bool* cancelled) override {
        entries << QStringLiteral("before");
        *cancelled = cancel;
        return trapwell::status::ok;
    }
    trapwell::HResult AfterHandlerCalled() override {
        entries << QStringLiteral("after");
        return trapwell::status::ok;
    }

    const QString errorLog;
    bool cancel = false;
    QStringList entries;
    std::map<trapwell::core::ErrorDialogField, QVariant> fields;
    QString errorLogWhenShown;
};

// A fresh handler object, reached through the host-side wrapper as a host would, plus the
// object itself for the fields the interface does not offer, and its ports.
class HandlerTest : public ::testing::Test {
protected:
    // Every case starts as in a process of its own (as CTest runs it): the thread's parameter
    // table undimensioned and no saved settings, so the cases also pass together in any order.
    HandlerTest() : handler((startAfresh(), create(&ports))) {}
    ~HandlerTest() override { object().Unadvise(cookie); } // the handler outlives the journal
    static void startAfresh() {
        trapwell::core::ProcedureTable::current().redimPreserve(-1);
        QFile::remove(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
                      QStringLiteral("/Halvorn.ini"));
    }

    // A handler with fake ports; the handler owns them, *ports (when given) points at them.
    static trapwell::ErrHandler create(FakePorts** ports = nullptr) {
        auto owned = std::make_unique<FakePorts>();
        if (ports)
            *ports = owned.get();
        trapwell::ComPtr<trapwell::IclsErrHandler> p;
        EXPECT_EQ(trapwell::core::createClsErrHandler(std::move(owned), trapwell::IID_clsErrHandler,
                                                      p.putVoid()),
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

    // The journal hears the handler's events; cancel decides BeforeHandlerCalled's answer.
    void listen(bool cancel = false) {
        journal.cancel = cancel;
        ASSERT_EQ(object().Advise(&journal, &cookie), trapwell::status::ok);
    }

    QTemporaryDir temp;
    FakePorts* ports = nullptr;
    trapwell::ErrHandler handler;
    Journal journal{temp.filePath(QStringLiteral("Error.log"))};
    std::uint32_t cookie = 0;
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
