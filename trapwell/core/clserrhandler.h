#pragma once

#include "core/breadcrumbs.h"
#include "core/handlerports.h"
#include "core/proceduretable.h"
#include "core/repeatfilter.h"
#include "core/tracelog.h"

#include "com/comobject.h"
#include "com/errorrecord.h"

#include <trapwell/clserrhandler.h>
#include <trapwell/clserrhandler2.h>
#include <trapwell/comtypes.h>
#include <trapwell/events.h>

#include <QObject>
#include <QPointer>
#include <QString>

#include <map>
#include <memory>
#include <vector>

namespace trapwell::core {

// The error handler object: procedure stack, error state, report texts, options and
// delivery settings of one host. Used from one thread. It reaches the dialogs and the
// deliveries only through its ports.
class ClsErrHandler final
    : public com::ComObject<ClsErrHandler, IclsErrHandler, ISupportErrorRecord, IConnectionPoint,
                            IclsErrHandler2> {
public:
    explicit ClsErrHandler(std::unique_ptr<HandlerPorts> ports);

    HResult queryInterface(const Guid& iid, void** out) override;
    HResult GetErrorRecord(std::int32_t* number, QString* source, QString* description) override;
    HResult Advise(IUnknown* sink, std::uint32_t* cookie) override;
    HResult Unadvise(std::uint32_t cookie) override;

    HResult get_ErrorLogDisplay(QString* result) override;
    HResult get_CallStack(QVariant* result) override;
    HResult get_CurrentOperation(QString* result) override;
    HResult get_CustomErrMessage(QVariant* result) override;
    HResult get_ErrorType(QString* result) override;
    HResult get_Destination(QString* result) override;
    HResult get_ErrDesc(QString* result) override;
    HResult get_ErrNum(std::int32_t* result) override;
    HResult get_ProcName(QString* result) override;
    HResult get_ErrLine(QString* result) override;
    HResult putref_Cn(QVariant* var) override;
    HResult get_Cn(QObject** result) override;
    HResult get_ADOVersion(QString* result) override;
    HResult putref_AppObject(QObject* var) override;
    HResult get_AppObject(QObject** result) override;
    HResult put_UseInterface(bool* var) override;
    HResult put_EmailAddress(QString* var) override;
    HResult put_CurrentOperation(const QString& strValue) override;
    HResult put_Destination(const QString& varValue) override;
    HResult put_TraceExecution(bool fValue) override;
    HResult HandleError(const QString& vstrErrDesc, double vdblErrNum, std::int32_t vintErrLine,
                        QString* strCustomErrorMessage, std::int32_t* result) override;
    HResult Pop(std::int32_t* result) override;
    HResult Push(QString* strProc, std::int32_t* result) override;
    HResult AddParam(QString* sParam, QString* sType, QVariant* vVal) override;
    HResult put_FromName(QString* var) override;
    HResult put_FromEmailAddress(QString* var) override;
    HResult put_SMTPMailServer(QString* var) override;
    HResult put_ToName(QString* var) override;
    HResult put_EmailType(Email_Type* var) override;
    HResult get_EmailType(Email_Type* result) override;
    HResult ShowParam(QString* result) override;
    HResult get_EmailSettings(bool* result) override;
    HResult put_EmailSettings(bool vNewValue) override;
    HResult get_LogEvent(bool* result) override;
    HResult put_LogEvent(bool vNewVal) override;
    HResult get_SysObject(ISysObj** result) override;
    HResult ShowErrorLog(std::int16_t Mode) override;
    HResult ChangeEmailSettings() override;
    HResult TransmitMail(const QString& lbxErrMessage) override;
    HResult get_PostAvailable(bool* result) override;
    HResult put_PostAvailable(bool vNewValue) override;
    HResult get_ShowAppInfo(bool* result) override;
    HResult put_ShowAppInfo(bool vNewValue) override;
    HResult get_ShowSysInfo(bool* result) override;
    HResult put_ShowSysInfo(bool vNewValue) override;
    HResult get_ShowDBInfo(bool* result) override;
    HResult put_ShowDBInfo(bool vNewValue) override;
    HResult get_AppLogDisplay(QString* result) override;
    HResult get_SysLogDisplay(QString* result) override;
    HResult get_DbLogDisplay(QString* result) override;
    HResult get_URL(QVariant* result) override;
    HResult put_URL(const QVariant& vNewValue) override;

    // IclsErrHandler2 (clserrhandler2.cpp): options beside the specified behaviour.
    HResult get_RepeatWindow(std::int32_t* result) override;
    HResult put_RepeatWindow(std::int32_t seconds) override;
    HResult get_TraceLimit(std::int64_t* result) override;
    HResult put_TraceLimit(std::int64_t bytes) override;
    HResult get_Outbox(bool* result) override;
    HResult put_Outbox(bool on) override;
    HResult get_PrivateReports(bool* result) override;
    HResult put_PrivateReports(bool on) override;
    HResult get_PrivateParameters(QString* result) override;
    HResult put_PrivateParameters(const QString& names) override;
    HResult get_ReportUrl(QString* result) override;
    HResult put_ReportUrl(const QString& address) override;
    HResult get_CrashCapture(bool* result) override;
    HResult put_CrashCapture(bool on) override;
    HResult get_PendingCrash(QString* result) override;
    HResult get_TraceFlushInterval(std::int32_t* result) override;
    HResult put_TraceFlushInterval(std::int32_t milliseconds) override;
    HResult FlushTrace() override;

    // Raise the events to every connected sink, in connection order.
    void raiseBeforeHandlerCalled(bool& cancel);
    void raiseAfterHandlerCalled();

    // The stack's own operations; they never raise and return 0 or an error number.
    std::int32_t pushProcedure(const QString& name) noexcept;
    std::int32_t popProcedure() noexcept;

private:
    ~ClsErrHandler() override;

    // A member's body under the component's error convention (a raised error becomes the
    // thread's error record and a failed status), refused on a thread other than the
    // creator's (status::wrongThread).
    template <class Body> HResult member(Body&& body) {
        if (!onOwnerThread())
            return status::wrongThread;
        return com::guard(QStringLiteral("Trapwell"), std::forward<Body>(body));
    }
    template <class T, class Body> HResult getter(T* result, Body&& body) {
        if (!onOwnerThread())
            return status::wrongThread;
        if (!result)
            return status::pointer;
        return member([&] { *result = body(); });
    }

    // A change of the delivery options, which the ports hear of at once.
    template <class Change> HResult changeDelivery(Change&& change) {
        return member([&] {
            change(delivery_);
            ports_->setDeliveryOptions(delivery_);
        });
    }

    // Writes the trace lines that wait, before something that must see the whole trace; a
    // failure is not that step's failure.
    void flushTraceQuietly() noexcept;

    // The steps of HandleError.
    std::int32_t handleError(const QString& description, double number, std::int32_t line,
                             const QString& customMessage);
    void composeReport(std::int32_t line);
    void writeErrorLog();
    void writeSystemLogEntry();
    void showErrorDialog();
    void emptyStack();
    // The report for the report address, masked as the options say.
    CollectorReport collectorReport(std::int32_t line) const;
    void sendReport(std::int32_t line);

    friend class com::ComObject<ClsErrHandler, IclsErrHandler, ISupportErrorRecord,
                                IConnectionPoint, IclsErrHandler2>;

    // Fields, in the order the object has always declared them.
    ComPtr<ISysObj> SysObject;
    std::int32_t ErrNum = 0;
    QString ErrDesc;
    QString ProcName;
    QString Destination;
    QString CurrentOperation;
    bool TraceExecution = false;
    QString ErrorLogDisplay;
    QString CustomErrMessage;
    QPointer<QObject> Cn;
    bool UseInterface = false;
    QPointer<QObject> AppObject;
    QString EmailAddress;
    QString ToName;
    std::int16_t ErrLine = 0;
    QString AppErrorTitle;
    TraceLog Trace; // holds TracePath
    std::vector<QString> CallStack;
    std::int32_t StackDepth = 0;
    std::int32_t ErrorType = 0;
    bool LogEvent = false;
    bool ShowAppInfo = false;
    bool ShowSysInfo = false;
    bool ShowDBInfo = false;
    bool PostAvailable = false;
    QString AppLogDisplay;
    QString SysLogDisplay;
    QString DbLogDisplay;

    std::unique_ptr<HandlerPorts> ports_;
    // The parameter lists of the creating thread, the only one whose calls are taken.
    const std::shared_ptr<ProcedureTable> table_ = ProcedureTable::ofThisThread();
    RepeatFilter repeats_;
    DeliveryOptions delivery_;
    bool keepBreadcrumbs_ = false; // while a report address is set
    Breadcrumbs breadcrumbs_;
    bool crashCapture_ = false; // this object's stack is what a crash records
    std::map<std::uint32_t, ComPtr<IclsErrHandlerEvents>> sinks_;
    std::uint32_t nextCookie_ = 1;
};

// Creates a handler object that reaches the dialogs and deliveries through ports.
HResult createClsErrHandler(std::unique_ptr<HandlerPorts> ports, const Guid& iid, void** out);

} // namespace trapwell::core
