#pragma once

// Host-side wrappers: they own one reference to a component object and turn a failed status
// into a RuntimeError, so host code reads naturally (handler.Push(name)). Header-only; the
// only thing a host links besides these headers is the component runtime (createInstance).

#include "trapwell/clserrhandler.h"
#include "trapwell/clserrhandler2.h"
#include "trapwell/events.h"
#include "trapwell/sysobj.h"
#include <trapwell/comtypes.h>

#include <QCoreApplication>
#include <QStringList>

namespace trapwell {

namespace detail {

inline void check(IUnknown* object, HResult hr) {
    if (succeeded(hr))
        return;
    // The object refused to be used from this thread; it has written no record.
    if (hr == status::wrongThread)
        throw RuntimeError(hr, QStringLiteral("Trapwell"),
                           QStringLiteral("The application called an interface that was "
                                          "marshalled for a different thread."));
    if (object) {
        ComPtr<ISupportErrorRecord> record;
        if (succeeded(object->queryInterface(IID_ISupportErrorRecord, record.putVoid()))) {
            std::int32_t number = 0;
            QString source, description;
            // The record is the thread's last one: it belongs to this failure only when the
            // status says so.
            if (record->GetErrorRecord(&number, &source, &description) == status::ok &&
                number != 0 && statusFromErrorNumber(number) == hr)
                throw RuntimeError(number, source, description);
        }
    }
    throw RuntimeError(errorNumberFromStatus(hr), QStringLiteral("Trapwell"),
                       QStringLiteral("Automation error"));
}

template <class T> ComPtr<T> create(const Guid& clsid, const Guid& iid) {
    ComPtr<T> p;
    if (failed(createInstance(clsid, iid, p.putVoid())) || !p)
        throw RuntimeError(429, QCoreApplication::applicationName(),
                           QStringLiteral("ActiveX component can't create object"));
    return p;
}

} // namespace detail

class SysInfo {
public:
    explicit SysInfo(ComPtr<ISysObj> object) : p_(std::move(object)) {}
    static SysInfo create() { return SysInfo(detail::create<ISysObj>(CLSID_SysObj, IID_SysObj)); }

    QString PlatForm() const { return text(&ISysObj::get_PlatForm); }
    QString OsVersion() const { return text(&ISysObj::get_OsVersion); }
    QString Build() const { return text(&ISysObj::get_Build); }
    QString ServicePack() const { return text(&ISysObj::get_ServicePack); }
    QString Cpu() const { return text(&ISysObj::get_Cpu); }
    QString TotalPhysicalMemory() const { return text(&ISysObj::get_TotalPhysicalMemory); }
    QString AvailablePhysicalMemory() const { return text(&ISysObj::get_AvailablePhysicalMemory); }
    QString TotalVirtualMemory() const { return text(&ISysObj::get_TotalVirtualMemory); }
    QString AvailableVirtualMemory() const { return text(&ISysObj::get_AvailableVirtualMemory); }

    ISysObj* get() const { return p_.get(); }

private:
    QString text(HResult (ISysObj::*member)(QString*)) const {
        QString s;
        detail::check(p_.get(), (p_.get()->*member)(&s));
        return s;
    }
    ComPtr<ISysObj> p_;
};

class ErrHandler {
public:
    explicit ErrHandler(ComPtr<IclsErrHandler> object) : p_(std::move(object)) {}
    // Creates a clsErrHandler by its class identifier; error 429 when that is impossible.
    static ErrHandler create() {
        return ErrHandler(detail::create<IclsErrHandler>(CLSID_clsErrHandler, IID_clsErrHandler));
    }

    IclsErrHandler* get() const { return p_.get(); }

    // Procedure stack. Push, Pop and HandleError never raise: they return 0 or an error number.
    std::int32_t Push(const QString& strProc) const {
        QString name = strProc;
        std::int32_t r = 0;
        call(p_->Push(&name, &r));
        return r;
    }
    std::int32_t Pop() const {
        std::int32_t r = 0;
        call(p_->Pop(&r));
        return r;
    }
    void AddParam(const QString& sParam, const QString& sType, const QVariant& vVal) const {
        QString name = sParam, type = sType;
        QVariant value = vVal;
        call(p_->AddParam(&name, &type, &value));
    }
    QString ShowParam() const { return get(&IclsErrHandler::ShowParam); }
    QStringList CallStack() const {
        QVariant v;
        call(p_->get_CallStack(&v));
        return v.toStringList();
    }
    std::int32_t HandleError(const QString& vstrErrDesc, double vdblErrNum,
                             std::int32_t vintErrLine = 0,
                             const QString& strCustomErrorMessage = {}) const {
        QString message = strCustomErrorMessage;
        std::int32_t r = 0;
        call(p_->HandleError(vstrErrDesc, vdblErrNum, vintErrLine, &message, &r));
        return r;
    }
    void ShowErrorLog(std::int16_t Mode) const { call(p_->ShowErrorLog(Mode)); }
    void ChangeEmailSettings() const { call(p_->ChangeEmailSettings()); }
    void TransmitMail(const QString& lbxErrMessage) const { call(p_->TransmitMail(lbxErrMessage)); }

    // Report and error state, set by HandleError.
    QString ErrorLogDisplay() const { return get(&IclsErrHandler::get_ErrorLogDisplay); }
    QString AppLogDisplay() const { return get(&IclsErrHandler::get_AppLogDisplay); }
    QString SysLogDisplay() const { return get(&IclsErrHandler::get_SysLogDisplay); }
    QString DbLogDisplay() const { return get(&IclsErrHandler::get_DbLogDisplay); }
    QString ErrorType() const { return get(&IclsErrHandler::get_ErrorType); }
    QString ErrDesc() const { return get(&IclsErrHandler::get_ErrDesc); }
    std::int32_t ErrNum() const { return get(&IclsErrHandler::get_ErrNum); }
    QString ProcName() const { return get(&IclsErrHandler::get_ProcName); }
    QString ErrLine() const { return get(&IclsErrHandler::get_ErrLine); }
    QVariant CustomErrMessage() const { return get(&IclsErrHandler::get_CustomErrMessage); }

    // Configuration.
    QString CurrentOperation() const { return get(&IclsErrHandler::get_CurrentOperation); }
    void setCurrentOperation(const QString& v) const { call(p_->put_CurrentOperation(v)); }
    QString Destination() const { return get(&IclsErrHandler::get_Destination); }
    void setDestination(const QString& v) const { call(p_->put_Destination(v)); }
    void setTraceExecution(bool v) const { call(p_->put_TraceExecution(v)); }
    void setUseInterface(bool v) const { call(p_->put_UseInterface(&v)); }
    void setCn(const QVariant& v) const {
        QVariant value = v;
        call(p_->putref_Cn(&value));
    }
    QObject* Cn() const { return get(&IclsErrHandler::get_Cn); }
    QString ADOVersion() const { return get(&IclsErrHandler::get_ADOVersion); }
    void setAppObject(QObject* v) const { call(p_->putref_AppObject(v)); }
    QObject* AppObject() const { return get(&IclsErrHandler::get_AppObject); }
    void setEmailAddress(const QString& v) const { callWith(&IclsErrHandler::put_EmailAddress, v); }
    void setFromName(const QString& v) const { callWith(&IclsErrHandler::put_FromName, v); }
    void setFromEmailAddress(const QString& v) const {
        callWith(&IclsErrHandler::put_FromEmailAddress, v);
    }
    void setSMTPMailServer(const QString& v) const {
        callWith(&IclsErrHandler::put_SMTPMailServer, v);
    }
    void setToName(const QString& v) const { callWith(&IclsErrHandler::put_ToName, v); }
    Email_Type EmailType() const { return get(&IclsErrHandler::get_EmailType); }
    void setEmailType(Email_Type v) const { call(p_->put_EmailType(&v)); }
    bool EmailSettings() const { return get(&IclsErrHandler::get_EmailSettings); }
    void setEmailSettings(bool v) const { call(p_->put_EmailSettings(v)); }
    bool LogEvent() const { return get(&IclsErrHandler::get_LogEvent); }
    void setLogEvent(bool v) const { call(p_->put_LogEvent(v)); }
    bool PostAvailable() const { return get(&IclsErrHandler::get_PostAvailable); }
    void setPostAvailable(bool v) const { call(p_->put_PostAvailable(v)); }
    bool ShowAppInfo() const { return get(&IclsErrHandler::get_ShowAppInfo); }
    void setShowAppInfo(bool v) const { call(p_->put_ShowAppInfo(v)); }
    bool ShowSysInfo() const { return get(&IclsErrHandler::get_ShowSysInfo); }
    void setShowSysInfo(bool v) const { call(p_->put_ShowSysInfo(v)); }
    bool ShowDBInfo() const { return get(&IclsErrHandler::get_ShowDBInfo); }
    void setShowDBInfo(bool v) const { call(p_->put_ShowDBInfo(v)); }
    QVariant URL() const { return get(&IclsErrHandler::get_URL); }
    void setURL(const QVariant& v) const { call(p_->put_URL(v)); }
    // Options beside the specified behaviour (IclsErrHandler2). A component that lacks that
    // interface raises error 430.
    std::int32_t RepeatWindow() const { return get2(&IclsErrHandler2::get_RepeatWindow); }
    void setRepeatWindow(std::int32_t seconds) const { call(second()->put_RepeatWindow(seconds)); }
    std::int64_t TraceLimit() const { return get2(&IclsErrHandler2::get_TraceLimit); }
    void setTraceLimit(std::int64_t bytes) const { call(second()->put_TraceLimit(bytes)); }
    bool Outbox() const { return get2(&IclsErrHandler2::get_Outbox); }
    void setOutbox(bool on) const { call(second()->put_Outbox(on)); }
    bool PrivateReports() const { return get2(&IclsErrHandler2::get_PrivateReports); }
    void setPrivateReports(bool on) const { call(second()->put_PrivateReports(on)); }
    QString PrivateParameters() const { return get2(&IclsErrHandler2::get_PrivateParameters); }
    void setPrivateParameters(const QString& names) const {
        call(second()->put_PrivateParameters(names));
    }
    QString ReportUrl() const { return get2(&IclsErrHandler2::get_ReportUrl); }
    void setReportUrl(const QString& address) const { call(second()->put_ReportUrl(address)); }
    bool CrashCapture() const { return get2(&IclsErrHandler2::get_CrashCapture); }
    void setCrashCapture(bool on) const { call(second()->put_CrashCapture(on)); }
    QString PendingCrash() const { return get2(&IclsErrHandler2::get_PendingCrash); }
    std::int32_t TraceFlushInterval() const {
        return get2(&IclsErrHandler2::get_TraceFlushInterval);
    }
    void setTraceFlushInterval(std::int32_t milliseconds) const {
        call(second()->put_TraceFlushInterval(milliseconds));
    }
    void FlushTrace() const { call(second()->FlushTrace()); }

    // Reports what a crashed earlier run left (PendingCrash) through HandleError, as an error
    // numbered 128 + the signal (the shell's exit status of such a process) in the procedure
    // that was running, with the crashed run's stack on the stack. False when there was none.
    bool reportPendingCrash(const QString& customMessage = {}) const {
        const QString text = PendingCrash();
        if (text.isEmpty())
            return false;
        QStringList lines = text.split(u'\n', Qt::SkipEmptyParts);
        // "Signal <n> <NAME>"
        const QStringList signal = lines.isEmpty() ? QStringList() : lines.takeFirst().split(u' ');
        const int number = signal.value(1).toInt();
        for (const QString& procedure : lines)
            Push(procedure);
        HandleError(QStringLiteral("The program ended with %1 (signal %2) in its last run")
                        .arg(signal.value(2), QString::number(number)),
                    128 + number, 0, customMessage);
        return true;
    }

    SysInfo SysObject() const {
        ISysObj* raw = nullptr;
        call(p_->get_SysObject(&raw));
        return SysInfo(ComPtr<ISysObj>::adopt(raw));
    }

private:
    void call(HResult hr) const { detail::check(p_.get(), hr); }
    template <class R> R get(HResult (IclsErrHandler::*member)(R*)) const {
        R r{};
        call((p_.get()->*member)(&r));
        return r;
    }
    ComPtr<IclsErrHandler2> second() const {
        ComPtr<IclsErrHandler2> p = p_.template as<IclsErrHandler2>(IID_clsErrHandler2);
        if (!p)
            throw RuntimeError(430, QStringLiteral("Trapwell"),
                               QStringLiteral("Class does not support Automation or does not "
                                              "support expected interface"));
        return p;
    }
    template <class R> R get2(HResult (IclsErrHandler2::*member)(R*)) const {
        R r{};
        const ComPtr<IclsErrHandler2> p = second();
        call((p.get()->*member)(&r));
        return r;
    }
    void callWith(HResult (IclsErrHandler::*member)(QString*), const QString& v) const {
        QString value = v;
        call((p_.get()->*member)(&value));
    }

    ComPtr<IclsErrHandler> p_;
};

} // namespace trapwell
