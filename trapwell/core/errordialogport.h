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

// The error dialog as HandleError drives it: fields set one by one, a refresh (which loads
// the window when needed), then a modal show that returns when the user has closed it.
class ErrorDialogPort {
public:
    virtual ~ErrorDialogPort() = default;
    virtual void setField(ErrorDialogField field, const QVariant& value) = 0;
    virtual void refresh() = 0;
    virtual void showModal() = 0;

    // The thread's error dialog, created on first use.
    static ErrorDialogPort& current();
    // Puts dialog in place of the thread's own until the guard is destroyed.
    class Override;
};

class ErrorDialogPort::Override {
public:
    explicit Override(ErrorDialogPort& dialog);
    ~Override();
    Override(const Override&) = delete;
    Override& operator=(const Override&) = delete;

private:
    ErrorDialogPort* previous_;
};

} // namespace trapwell::core
