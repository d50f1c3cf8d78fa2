#pragma once

#include <QString>

namespace trapwell::core {

// What HandleError hands the thread's error dialog: the error, the report's sections and
// what the dialog needs to mail or post the report.
struct ErrorDialogContent {
    double errorNumber = 0;
    QString destination; // the folder of Error.log and Trace.log
    QString errorDetail; // the "Error Info" section
    bool traceExecution = false;
    bool showAppInfo = false;
    bool showDbInfo = false;
    bool showSysInfo = false;
    bool showPostButton = false;
    QString appLog;
    QString sysLog;
    QString dbLog;
    QString emailAddress;
    QString subject;
    QString emailDetailApi;
    QString emailDetailApi2;
    QString toName;
};

// What the dialog shows beside the specified fields; empty members show nothing.
struct DialogNotes {
    // How often the error was counted without a dialog, as "… and 37 more times since 10:02".
    QString repeats;
};

// The error dialog as HandleError drives it: its content, a refresh (which loads the window
// when needed), then a modal show that returns when the user has closed it. It
// also keeps the posting address that the handler's URL property reads and writes.
class ErrorDialogPort {
public:
    virtual ~ErrorDialogPort() = default;
    virtual void setContent(const ErrorDialogContent& content) = 0;
    virtual void refresh() = 0;
    // Set just before refresh(); a dialog without room for notes may ignore them.
    virtual void setNotes(const DialogNotes&) {}
    virtual void showModal() = 0;
    virtual QString postingAddress() const = 0;
    virtual void setPostingAddress(const QString& address) = 0;
};

} // namespace trapwell::core
