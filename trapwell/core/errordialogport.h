#pragma once

#include <QVariant>

namespace trapwell::core {

// The public fields of the thread's error dialog, in the order HandleError sets them.
enum class ErrorDialogField {
    m_dblErrNum,
    m_strDestination,
    m_strErrDetail,
    m_bolTraceExecution,
    ShowAppInfo,
    ShowDBInfo,
    ShowSysInfo,
    ShowPostButton,
    AppLog,
    SysLog,
    DbLog,
    m_strEmailAddress,
    m_strSubject,
    m_strEmailDetailAPI,
    m_strEmailDetailAPI2,
    m_strToName,
};

// What the dialog shows beside the specified fields; empty members show nothing.
struct DialogNotes {
    // How often the error was counted without a dialog, as "… and 37 more times since 10:02".
    QString repeats;
};

// The error dialog as HandleError drives it: fields set one by one, a refresh (which loads
// the window when needed), then a modal show that returns when the user has closed it. It
// also keeps the posting address that the handler's URL property reads and writes.
class ErrorDialogPort {
public:
    virtual ~ErrorDialogPort() = default;
    virtual void setField(ErrorDialogField field, const QVariant& value) = 0;
    virtual void refresh() = 0;
    // Set just before refresh(); a dialog without room for notes may ignore them.
    virtual void setNotes(const DialogNotes&) {}
    virtual void showModal() = 0;
    virtual QString postingAddress() const = 0;
    virtual void setPostingAddress(const QString& address) = 0;
};

} // namespace trapwell::core
