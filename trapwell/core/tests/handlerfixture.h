#pragma once

// The handler under test with fake ports, and the test support every case here uses.

#include "core/clserrhandler.h"
#include "core/errordialogport.h"
#include "core/handlerports.h"
#include "core/proceduretable.h"

#include "platform/tests/support/fakes.h"
#include "platform/tests/support/files.h"
#include "platform/tests/support/golden.h"

#include <trapwell/comtypes.h>
#include <trapwell/errhandler.h>

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <memory>
#include <thread>
#include <vector>

// The handler's ports without widgets, the error dialog among them. The dialog writes down in
// order what a host and a user see (the events, when it listens to them; its refresh and its
// showing) and keeps its fields; mail requests and reports are written down, and a test may
// make a mail fail.
class FakePorts final : public trapwell::core::HandlerPorts,
                        public trapwell::core::ErrorDialogPort,
                        public trapwell::IclsErrHandlerEvents {
public:
    trapwell::core::ErrorDialogPort& errorDialog() override { return *this; }
    void changeEmailSettings() override { ++settingsShown; }
    void transmitMail(const trapwell::core::MailRequest& request) override {
        mails.push_back(request);
        if (mailFailure)
            mailFailure();
    }
    void sendReport(const trapwell::core::CollectorReport& report) override {
        reports.push_back(report);
    }

    void setContent(const trapwell::core::ErrorDialogContent& c) override { content = c; }
    void setNotes(const trapwell::core::DialogNotes& n) override { notes = n; }
    void refresh() override { entries << QStringLiteral("refresh"); }
    void showModal() override {
        entries << QStringLiteral("show");
        // Only a file is read: a FIFO planted there would block.
        const QString log = content.destination + QStringLiteral("/Error.log");
        errorLogWhenShown = QFileInfo(log).isFile() ? QString::fromLocal8Bit(fileBytes(log)) : "";
    }
    QString postingAddress() const override { return address; }
    void setPostingAddress(const QString& a) override { address = a; }

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

    std::vector<trapwell::core::CollectorReport> reports;
    std::vector<trapwell::core::MailRequest> mails;
    std::function<void()> mailFailure;
    int settingsShown = 0;
    bool cancel = false; // BeforeHandlerCalled's answer
    QStringList entries;
    trapwell::core::ErrorDialogContent content;
    trapwell::core::DialogNotes notes;
    QString address, errorLogWhenShown;
};

// The error a call raised, or a failure when it raised none.
template <class F> trapwell::RuntimeError errorOf(F&& f) {
    try {
        f();
    } catch (const trapwell::RuntimeError& e) {
        return e;
    }
    ADD_FAILURE() << "no error was raised";
    return trapwell::RuntimeError(0, {}, {});
}

// An object with the given members, as hosts hand them over.
inline void give(QObject& object, const QVariantMap& members) {
    for (auto it = members.begin(); it != members.end(); ++it)
        object.setProperty(it.key().toLatin1().constData(), it.value());
}

// An application object as hosts hand it over.
class AppInfo : public QObject {
public:
    explicit AppInfo(const QString& path = {}) {
        give(*this, {{"Title", "Trainer Title"}, {"ProductName", "Trainer"}, {"Path", path}});
        give(*this, {{"Major", 2}, {"Minor", 1}, {"Revision", 7}});
    }
};

// A fresh handler object, reached through the host-side wrapper as a host would, and its ports.
class HandlerTest : public ::testing::Test {
protected:
    // Every case starts as in a process of its own (as CTest runs it): the thread's parameter
    // table undimensioned and no saved settings, so the cases also pass together in any order.
    HandlerTest() : handler((startAfresh(), create(&ports))) {}
    ~HandlerTest() override { object.Unadvise(cookie); }
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

    // The dialog hears the handler's events; cancel decides BeforeHandlerCalled's answer.
    void listen(bool cancel = false) {
        ports->cancel = cancel;
        ASSERT_EQ(object.Advise(static_cast<trapwell::IclsErrHandlerEvents*>(ports), &cookie),
                  trapwell::status::ok);
    }

    // Whatever a case did: no dialog showed that it did not count on, and no failure left the
    // pointer busy.
    void TearDown() override {
        EXPECT_EQ(ports->entries.count("show"), dialogs);
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    }

    QTemporaryDir temp;
    FakePorts* ports = nullptr;
    trapwell::ErrHandler handler;
    trapwell::core::ClsErrHandler& object =
        *static_cast<trapwell::core::ClsErrHandler*>(handler.get());
    std::uint32_t cookie = 0;
    int dialogs = 0; // the dialogs the case's errors showed
};

// Cases that end with a handled error: the logs go to the temporary folder, and the last
// HandleError left the procedure stack empty.
class HandledErrorTest : public HandlerTest {
protected:
    void SetUp() override { handler.setDestination(temp.path()); }
    void TearDown() override {
        EXPECT_EQ(handler.CallStack(), QStringList({""}));
        HandlerTest::TearDown();
    }
    QString errorLog() const { return temp.filePath(QStringLiteral("Error.log")); }
};
