#include "tracing/clsaehandling.h"

#include "tracing/addresses.h"
#include "tracing/appobject.h"
#include "tracing/programfolder.h"

#include "platform/programend.h"
#include "platform/settingsstore.h"

#include <trapwell/comtypes.h>

namespace veltrano {

std::unique_ptr<clsAEHandling>& clsAEHandling::instance() {
    static std::unique_ptr<clsAEHandling> shared;
    return shared;
}

clsAEHandling& clsAEHandling::shared() {
    auto& shared = instance();
    if (!shared)
        shared.reset(new clsAEHandling);
    return *shared;
}

clsAEHandling::clsAEHandling()
    : handler_(trapwell::ErrHandler::create()), app_(std::make_unique<AppObject>()) {
    handler_.setEmailAddress(QString::fromLatin1(addresses::supportMail));
    handler_.setToName(QStringLiteral("App Problems"));
    handler_.setEmailType(trapwell::aeDefault);
    handler_.setSMTPMailServer(QString::fromLatin1(addresses::smtpServer));
    handler_.setFromEmailAddress(QString::fromLatin1(addresses::senderAddress));
    handler_.setFromName(QStringLiteral("Your App User"));
    handler_.setLogEvent(true);
    handler_.setTraceExecution(true);
    handler_.setUseInterface(true);
    handler_.setShowAppInfo(true);
    handler_.setShowDBInfo(true);
    handler_.setShowSysInfo(true);
    handler_.setDestination(ProgramFolder::logFolder() + u'/');
    handler_.setAppObject(app_.get());
    try {
        handler_.setURL(QString());
    } catch (const trapwell::RuntimeError&) {
        // A component without its error dialog has no posting address to set.
    }
    handler_.setPostAvailable(false);
    // Beside the specified configuration: a procedure that fails on every timer tick opens
    // the dialog once a minute at most.
    handler_.setRepeatWindow(60);
    // The main window's timer traces 62 lines a second: written together once a second, they
    // cost a fraction of one open, append and close each. The file gets the same bytes, and
    // gets them before any report, at the end and on a crash.
    handler_.setTraceFlushInterval(1000);
    // Reports that cannot be sent now are kept and sent when the network is back.
    handler_.setOutbox(true);
    // Copies that leave the machine carry no home folder, names or addresses of the user.
    handler_.setPrivateReports(true);
    // A collector of the user's or the developers' choosing receives every report as it
    // happens (README: "Sending reports to a collector"). Nothing is sent when unset.
    // A crash leaves the procedures that were running for the next start to report.
    try {
        handler_.setCrashCapture(true);
    } catch (const trapwell::RuntimeError&) {
        // No state folder: crashes go unrecorded, as before.
    }
    const QString reportUrl = platform::SettingsStore::current().GetSetting(
        QStringLiteral("Veltrano"), QStringLiteral("Reports"), QStringLiteral("ReportUrl"));
    try {
        handler_.setReportUrl(reportUrl.trimmed());
    } catch (const trapwell::RuntimeError&) {
        // Not an http(s) address: reports stay on the machine.
    }
}

clsAEHandling::~clsAEHandling() = default;

void clsAEHandling::endProgram(int exitCode) {
    if (instance()) {
        try {
            instance()->handler_.FlushTrace();
        } catch (const trapwell::RuntimeError&) {
            // The trace cannot be written: the program ends all the same.
        }
    }
    platform::endProgram(exitCode);
}

void clsAEHandling::reportPendingCrash() const {
    try {
        handler_.reportPendingCrash(
            QStringLiteral("Veltrano ended unexpectedly the last time it ran."));
    } catch (const trapwell::RuntimeError&) {
        // An unreadable record is not worth a second error at start.
    }
}

} // namespace veltrano
