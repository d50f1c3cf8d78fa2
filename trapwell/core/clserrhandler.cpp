#include "core/clserrhandler.h"

#include "core/componentfolder.h"
#include "core/crashcapture.h"
#include "core/databaseerrorcheck.h"
#include "core/handlersettings.h"
#include "core/logfile.h"
#include "core/mailvalues.h"
#include "core/proceduretable.h"
#include "core/reportcomposer.h"
#include "sysinfo/sysobj.h"

#include "com/errorrecord.h"
#include "platform/classicconvert.h"
#include "platform/classicerrors.h"
#include "platform/clock.h"
#include "platform/messagebox.h"
#include "platform/objectmembers.h"
#include "platform/shell.h"
#include "platform/systemlog.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>
#include <trapwell/comtypes.h>

#include <cerrno>
#include <sys/stat.h>

namespace trapwell::core {

namespace {

const QString componentSource = QStringLiteral("Trapwell");
const QString mailto = QStringLiteral("mailto:");

QString memberText(QObject* object, const char* name) {
    return platform::CStr(platform::getMember(object, name));
}

// Creates folder (one level) unless something of that name exists; empty text names the
// current folder, which exists.
void createFolderIfMissing(const QString& folder) {
    if (folder.isEmpty())
        return;
    const QByteArray path = QFile::encodeName(folder);
    struct stat st {};
    if (::stat(path.constData(), &st) == 0)
        return;
    if (::mkdir(path.constData(), 0777) != 0)
        platform::raiseError(platform::errorNumberFromErrno(errno));
}

// Removes one trailing separator (after trailing blanks), trimming blanks around it too.
QString normalisedFolder(const QString& value) {
    QString rightTrimmed = value;
    while (rightTrimmed.endsWith(u' '))
        rightTrimmed.chop(1);
    if (!rightTrimmed.endsWith(u'\\') && !rightTrimmed.endsWith(u'/'))
        return value;
    qsizetype start = 0;
    while (start < rightTrimmed.size() && rightTrimmed[start] == u' ')
        ++start;
    QString trimmed = rightTrimmed.mid(start);
    trimmed.chop(1);
    return trimmed;
}

} // namespace

// The members that run through these refuse other threads here; the others say so first.
ClsErrHandler::ClsErrHandler(std::unique_ptr<HandlerPorts> ports)
    : CallStack(2), ports_(std::move(ports)) {
}

ClsErrHandler::~ClsErrHandler() {
    if (crashCapture_)
        CrashCapture::disarm(this);
}

HResult ClsErrHandler::queryInterface(const Guid& iid, void** out) {
    if (!out)
        return status::pointer;
    if (iid == IID_IUnknown || iid == IID_clsErrHandler)
        return offer(static_cast<IclsErrHandler*>(this), out);
    if (iid == IID_ISupportErrorRecord)
        return offer(static_cast<ISupportErrorRecord*>(this), out);
    if (iid == IID_IConnectionPoint)
        return offer(static_cast<IConnectionPoint*>(this), out);
    if (iid == IID_clsErrHandler2)
        return offer(static_cast<IclsErrHandler2*>(this), out);
    return refuse(out);
}

HResult ClsErrHandler::GetErrorRecord(std::int32_t* number, QString* source, QString* description) {
    return com::readErrorRecord(number, source, description);
}

HResult ClsErrHandler::Advise(IUnknown* sink, std::uint32_t* cookie) {
    if (!onOwnerThread())
        return status::wrongThread;
    if (!sink || !cookie)
        return status::pointer;
    ComPtr<IclsErrHandlerEvents> events;
    if (failed(sink->queryInterface(DIID_clsErrHandlerEvents, events.putVoid())) || !events)
        return status::noInterface;
    *cookie = nextCookie_++;
    sinks_.emplace(*cookie, std::move(events));
    return status::ok;
}

HResult ClsErrHandler::Unadvise(std::uint32_t cookie) {
    if (!onOwnerThread())
        return status::wrongThread;
    return sinks_.erase(cookie) ? status::ok : status::invalidArg;
}

void ClsErrHandler::raiseBeforeHandlerCalled(bool& cancel) {
    // A copy, so a sink may disconnect while it is being called.
    const auto sinks = sinks_;
    for (const auto& [cookie, sink] : sinks)
        sink->BeforeHandlerCalled(&cancel);
}

void ClsErrHandler::raiseAfterHandlerCalled() {
    const auto sinks = sinks_;
    for (const auto& [cookie, sink] : sinks)
        sink->AfterHandlerCalled();
}

// --- Plain fields -------------------------------------------------------------------------

HResult ClsErrHandler::get_ErrorLogDisplay(QString* r) {
    return getter(r, [&] { return ErrorLogDisplay; });
}
HResult ClsErrHandler::get_CurrentOperation(QString* r) {
    return getter(r, [&] { return CurrentOperation; });
}
HResult ClsErrHandler::get_CustomErrMessage(QVariant* r) {
    return getter(r, [&] { return QVariant(CustomErrMessage); });
}
HResult ClsErrHandler::get_ErrorType(QString* r) {
    return getter(r, [&] { return QString::number(ErrorType); });
}
HResult ClsErrHandler::get_Destination(QString* r) {
    return getter(r, [&] { return Destination; });
}
HResult ClsErrHandler::get_ErrDesc(QString* r) {
    return getter(r, [&] { return ErrDesc; });
}
HResult ClsErrHandler::get_ErrNum(std::int32_t* r) {
    return getter(r, [&] { return ErrNum; });
}
HResult ClsErrHandler::get_ProcName(QString* r) {
    return getter(r, [&] { return ProcName; });
}
HResult ClsErrHandler::get_ErrLine(QString* r) {
    return getter(r, [&] { return QString::number(ErrLine); });
}
HResult ClsErrHandler::get_Cn(QObject** r) {
    return getter(r, [&] { return Cn.data(); });
}
HResult ClsErrHandler::get_AppObject(QObject** r) {
    return getter(r, [&] { return AppObject.data(); });
}
HResult ClsErrHandler::get_LogEvent(bool* r) {
    return getter(r, [&] { return LogEvent; });
}
HResult ClsErrHandler::get_PostAvailable(bool* r) {
    return getter(r, [&] { return PostAvailable; });
}
HResult ClsErrHandler::get_ShowAppInfo(bool* r) {
    return getter(r, [&] { return ShowAppInfo; });
}
HResult ClsErrHandler::get_ShowSysInfo(bool* r) {
    return getter(r, [&] { return ShowSysInfo; });
}
HResult ClsErrHandler::get_ShowDBInfo(bool* r) {
    return getter(r, [&] { return ShowDBInfo; });
}
HResult ClsErrHandler::get_AppLogDisplay(QString* r) {
    return getter(r, [&] { return AppLogDisplay; });
}
HResult ClsErrHandler::get_SysLogDisplay(QString* r) {
    return getter(r, [&] { return SysLogDisplay; });
}
HResult ClsErrHandler::get_DbLogDisplay(QString* r) {
    return getter(r, [&] { return DbLogDisplay; });
}

HResult ClsErrHandler::put_UseInterface(bool* var) {
    if (!onOwnerThread())
        return status::wrongThread;
    if (!var)
        return status::pointer;
    UseInterface = *var;
    return status::ok;
}
HResult ClsErrHandler::put_CurrentOperation(const QString& strValue) {
    if (!onOwnerThread())
        return status::wrongThread;
    CurrentOperation = strValue;
    return status::ok;
}
HResult ClsErrHandler::put_ToName(QString* var) {
    if (!onOwnerThread())
        return status::wrongThread;
    if (!var)
        return status::pointer;
    ToName = *var;
    return status::ok;
}
HResult ClsErrHandler::put_LogEvent(bool v) {
    if (!onOwnerThread())
        return status::wrongThread;
    LogEvent = v;
    return status::ok;
}
HResult ClsErrHandler::put_PostAvailable(bool v) {
    if (!onOwnerThread())
        return status::wrongThread;
    PostAvailable = v;
    return status::ok;
}
HResult ClsErrHandler::put_ShowAppInfo(bool v) {
    if (!onOwnerThread())
        return status::wrongThread;
    ShowAppInfo = v;
    return status::ok;
}
HResult ClsErrHandler::put_ShowSysInfo(bool v) {
    if (!onOwnerThread())
        return status::wrongThread;
    ShowSysInfo = v;
    return status::ok;
}
HResult ClsErrHandler::put_ShowDBInfo(bool v) {
    if (!onOwnerThread())
        return status::wrongThread;
    ShowDBInfo = v;
    return status::ok;
}

// --- Property rules -----------------------------------------------------------------------

HResult ClsErrHandler::putref_Cn(QVariant* var) {
    if (!var)
        return status::pointer;
    return member([&] {
        if (!platform::holdsObject(*var))
            throw RuntimeError(
                std::int32_t(0x800403E9u), componentSource,
                QStringLiteral("Must pass in a valid connection or database object"));
        QObject* connection = platform::objectOf(*var);
        if (memberText(connection, "connectionstring").isEmpty())
            throw RuntimeError(
                std::int32_t(0x800403EAu), componentSource,
                QStringLiteral("ADO connection must be open before passing to the Error Object"));
        Cn = connection;
    });
}

HResult ClsErrHandler::get_ADOVersion(QString* r) {
    return getter(r, [&] { return memberText(Cn.data(), "Version"); });
}

HResult ClsErrHandler::putref_AppObject(QObject* var) {
    return member([&] {
        AppObject = var;
        AppErrorTitle = memberText(var, "ProductName") + u' ' + memberText(var, "Major") + u'.' +
                        memberText(var, "Minor") + u'.' + memberText(var, "Revision") +
                        QStringLiteral(" Application Error");
    });
}

HResult ClsErrHandler::put_EmailAddress(QString* var) {
    if (!onOwnerThread())
        return status::wrongThread;
    if (!var)
        return status::pointer;
    EmailAddress = QString(*var).remove(mailto, Qt::CaseSensitive);
    return status::ok;
}

HResult ClsErrHandler::put_Destination(const QString& varValue) {
    return member([&] {
        flushTraceQuietly();
        Destination = normalisedFolder(varValue);
        createFolderIfMissing(Destination);
    });
}

HResult ClsErrHandler::put_FromName(QString* var) {
    if (!onOwnerThread())
        return status::wrongThread;
    if (!var)
        return status::pointer;
    MailValues::current().FromName = *var;
    return status::ok;
}

HResult ClsErrHandler::put_FromEmailAddress(QString* var) {
    if (!onOwnerThread())
        return status::wrongThread;
    if (!var)
        return status::pointer;
    MailValues::current().FromEmailAddress = QString(*var).remove(mailto, Qt::CaseSensitive);
    return status::ok;
}

HResult ClsErrHandler::put_SMTPMailServer(QString* var) {
    if (!var)
        return status::pointer;
    return member([&] {
        MailValues::current().SMTPMailServer = *var;
        HandlerSettings::setSmtpMailServer(*var);
    });
}

HResult ClsErrHandler::put_EmailType(Email_Type* var) {
    if (!var)
        return status::pointer;
    return member([&] { HandlerSettings::setEmailType(*var); });
}

HResult ClsErrHandler::get_EmailType(Email_Type* r) {
    return getter(r, [] { return HandlerSettings::emailType(); });
}

HResult ClsErrHandler::get_EmailSettings(bool* r) {
    return getter(r, [] { return HandlerSettings::emailSettings(); });
}

HResult ClsErrHandler::put_EmailSettings(bool v) {
    return member([&] { HandlerSettings::setEmailSettings(v); });
}

HResult ClsErrHandler::get_SysObject(ISysObj** r) {
    if (!onOwnerThread())
        return status::wrongThread;
    if (!r)
        return status::pointer;
    *r = nullptr;
    if (!SysObject) {
        const HResult hr = sysinfo::createSysObj(IID_SysObj, SysObject.putVoid());
        if (failed(hr))
            return hr;
    }
    *r = ComPtr<ISysObj>(SysObject).detach();
    return status::ok;
}

// --- Procedure stack ----------------------------------------------------------------------

std::int32_t ClsErrHandler::pushProcedure(const QString& name) noexcept {
    try {
        ++StackDepth;
        const auto depth = std::size_t(StackDepth);
        if (CallStack.size() == depth) { // the rule: one level deeper, built in place
            CallStack.push_back(name);
        } else {
            CallStack.resize(depth + 1);
            CallStack[depth] = name;
        }
        table_->redimPreserve(StackDepth);
        if (crashCapture_)
            CrashCapture::entered(this, StackDepth, CallStack[depth]);
        if (keepBreadcrumbs_)
            breadcrumbs_.entered(name);
        if (TraceExecution)
            Trace.append(name);
        return 0;
    } catch (...) {
        return currentExceptionNumber();
    }
}

std::int32_t ClsErrHandler::popProcedure() noexcept {
    try {
        if (CallStack.size() == 1)
            return 0;
        if (crashCapture_) // before the name it points at goes
            CrashCapture::left(this, std::max(0, StackDepth - 1));
        if (StackDepth > 0 && CallStack.size() == std::size_t(StackDepth) + 1) {
            CallStack.pop_back();
        } else {
            CallStack[std::size_t(StackDepth)].clear();
            CallStack.resize(StackDepth == 0 ? 1 : std::size_t(StackDepth));
        }
        ProcedureTable& table = *table_;
        table.release(StackDepth);
        StackDepth = std::max(0, StackDepth - 1);
        table.redimPreserve(StackDepth);
        return 0;
    } catch (...) {
        return currentExceptionNumber();
    }
}

HResult ClsErrHandler::Push(QString* strProc, std::int32_t* result) {
    if (!onOwnerThread())
        return status::wrongThread;
    if (!strProc || !result)
        return status::pointer;
    *result = pushProcedure(*strProc);
    return status::ok;
}

HResult ClsErrHandler::Pop(std::int32_t* result) {
    if (!onOwnerThread())
        return status::wrongThread;
    if (!result)
        return status::pointer;
    *result = popProcedure();
    return status::ok;
}

HResult ClsErrHandler::AddParam(QString* sParam, QString* sType, QVariant* vVal) {
    if (!sParam || !sType || !vVal)
        return status::pointer;
    return member([&] { table_->at(StackDepth).Add(*sParam, *sType, *vVal); });
}

HResult ClsErrHandler::ShowParam(QString* r) {
    return getter(r, [&] {
        const int top = int(CallStack.size()) - 1;
        return table_->at(top).ReadParams().toString();
    });
}

HResult ClsErrHandler::get_CallStack(QVariant* r) {
    return getter(r, [&] { return QVariant(QStringList(CallStack.begin(), CallStack.end())); });
}

HResult ClsErrHandler::put_TraceExecution(bool fValue) {
    if (!onOwnerThread())
        return status::wrongThread;
    flushTraceQuietly();
    TraceExecution = fValue;
    if (!fValue)
        return status::ok;
    // Failures end the switch-on silently; the flag stays set.
    try {
        if (Destination.isEmpty())
            Destination = AppObject ? memberText(AppObject.data(), "Path") : componentFolder();
        Trace.restart(Destination + QStringLiteral("/Trace.log"));
    } catch (...) {
    }
    return status::ok;
}

// --- Handling an error -------------------------------------------------------------------

HResult ClsErrHandler::HandleError(const QString& vstrErrDesc, double vdblErrNum,
                                   std::int32_t vintErrLine, QString* strCustomErrorMessage,
                                   std::int32_t* result) {
    if (!onOwnerThread())
        return status::wrongThread;
    // HandleError never raises: it reports what stopped it through its result.
    if (!result)
        return status::pointer;
    const QString customMessage = strCustomErrorMessage ? *strCustomErrorMessage : QString();
    // The trace up to the error is on disk before anything reports it.
    flushTraceQuietly();
    try {
        *result = handleError(vstrErrDesc, vdblErrNum, vintErrLine, customMessage);
    } catch (...) {
        *result = currentExceptionNumber();
    }
    return status::ok;
}

// Until the veto point a failure ends the handling (the caller gets its number); after it,
// a failing step is skipped, except on the cancelled path.
std::int32_t ClsErrHandler::handleError(const QString& description, double number,
                                        std::int32_t line, const QString& customMessage) {
    ErrLine = platform::CInt(double(line));
    CustomErrMessage = customMessage;
    ErrNum = platform::CLng(number);
    ErrDesc = description;
    if (number == 0)
        return 0;

    ErrorType = 0;
    DatabaseErrorCheck::run(Cn.data(), ErrDesc, ErrNum, ErrorType);
    ProcName = CallStack[std::size_t(StackDepth)];

    bool cancel = false;
    raiseBeforeHandlerCalled(cancel);
    if (cancel) {
        writeSystemLogEntry();
        showErrorDialog();
        raiseAfterHandlerCalled();
        emptyStack();
        return 0;
    }

    const auto skipOnFailure = [](auto&& step) {
        try {
            step();
        } catch (...) {
        }
    };
    skipOnFailure([&] { composeReport(line); });
    skipOnFailure([&] { writeErrorLog(); });
    skipOnFailure([&] { writeSystemLogEntry(); });
    skipOnFailure([&] { sendReport(line); });
    skipOnFailure([&] { showErrorDialog(); });
    skipOnFailure([&] { raiseAfterHandlerCalled(); });
    skipOnFailure([&] { emptyStack(); });
    return 0;
}

void ClsErrHandler::composeReport(std::int32_t line) {
    ReportComposer::ErrorFacts facts;
    facts.errorType = ErrorType;
    facts.app = AppObject.data();
    facts.customMessage = CustomErrMessage;
    facts.now = platform::Clock::current().now();
    facts.errNum = ErrNum;
    facts.procName = ProcName;
    facts.errLine = line;
    facts.errDesc = ErrDesc;
    facts.callStack = &CallStack;
    facts.stackDepth = StackDepth;
    facts.parameters = [this] {
        QString listing;
        if (failed(ShowParam(&listing)))
            throw RuntimeError(platform::err::subscriptOutOfRange, {}, {});
        return listing;
    };
    facts.currentOperation = CurrentOperation;
    facts.currentDirectory = QDir::currentPath();
    ErrorLogDisplay = ReportComposer::errorSection(facts);

    AppLogDisplay = ReportComposer::appSection(AppObject.data());
    ComPtr<ISysObj> sys;
    sysinfo::createSysObj(IID_SysObj, sys.putVoid());
    SysLogDisplay = ReportComposer::sysSection(sys.get());
    DbLogDisplay = ReportComposer::dbSection(Cn.data());
}

void ClsErrHandler::writeErrorLog() {
    if (Destination.isEmpty())
        Destination = AppObject ? memberText(AppObject.data(), "Path") : componentFolder();
    LogFile::rewrite(Destination + QStringLiteral("/Error.log"),
                     ErrorLogDisplay + QStringLiteral("\r\n"));
}

void ClsErrHandler::writeSystemLogEntry() {
    if (!LogEvent)
        return;
    ComPtr<ISysObj> sys;
    QString family;
    if (failed(sysinfo::createSysObj(IID_SysObj, sys.putVoid())) ||
        failed(sys->get_PlatForm(&family)))
        platform::raiseError(platform::err::cannotCreateObject);
    family = family.toUpper();
    if (family != QLatin1String("WINNT") && family != QLatin1String("LINUX"))
        return;
    platform::writeSystemLog(componentSource, QStringLiteral("Error from ") + componentSource +
                                                  u'\r' + ErrorLogDisplay);
}

void ClsErrHandler::showErrorDialog() {
    if (!UseInterface)
        return;
    // A repeat of an error whose dialog was just seen is logged and counted, not shown.
    const RepeatFilter::Key repeatKey{ErrNum, ProcName, ErrLine};
    const RepeatFilter::Verdict repeat =
        repeats_.occurred(repeatKey, platform::Clock::current().now());
    if (!repeat.show)
        return;
    ErrorDialogPort& dialog = ports_->errorDialog();
    ErrorDialogContent content;
    content.errorNumber = double(ErrNum);
    content.destination = Destination;
    content.errorDetail = ErrorLogDisplay;
    content.traceExecution = TraceExecution;
    content.showAppInfo = ShowAppInfo;
    content.showDbInfo = ShowDBInfo;
    content.showSysInfo = ShowSysInfo;
    content.showPostButton = PostAvailable;
    content.appLog = AppLogDisplay;
    content.sysLog = SysLogDisplay;
    content.dbLog = DbLogDisplay;
    content.emailAddress = EmailAddress;
    content.subject = AppErrorTitle;
    content.toName = ToName;
    dialog.setContent(content);
    dialog.setNotes(DialogNotes{repeat.note});
    dialog.refresh();
    // Closed however the dialog ends, so an exception cannot leave the error "open" for ever.
    struct Closing {
        RepeatFilter& filter;
        const RepeatFilter::Key& key;
        ~Closing() { filter.dialogClosed(key, platform::Clock::current().now()); }
    } closing{repeats_, repeatKey};
    dialog.showModal();
}

void ClsErrHandler::emptyStack() {
    const std::size_t upperBound = CallStack.size() - 1;
    for (std::size_t i = 0; i <= upperBound; ++i)
        popProcedure();
}

HResult ClsErrHandler::ShowErrorLog(std::int16_t Mode) {
    return member([&] {
        QString file, message, title;
        if (Mode == 1) {
            file = Destination + QStringLiteral("/Error.log");
            message = QStringLiteral("Error Log not created");
            title = QStringLiteral("Error Log");
        } else if (Mode == 2) {
            flushTraceQuietly();
            file = Destination + QStringLiteral("/Trace.log");
            message = QStringLiteral("Trace Log not created");
            title = QStringLiteral("Trace Log");
        } else {
            return;
        }
        if (QFileInfo::exists(file))
            platform::openInTextEditor(file);
        else
            platform::MsgBox(message, platform::mb::OKOnly, title);
    });
}

// --- Delivery and the dialogs ------------------------------------------------------------

HResult ClsErrHandler::ChangeEmailSettings() {
    return member([&] { ports_->changeEmailSettings(); });
}

HResult ClsErrHandler::TransmitMail(const QString& lbxErrMessage) {
    if (!onOwnerThread())
        return status::wrongThread;
    // Ends without a message on any failure, with the default pointer back.
    try {
        ports_->transmitMail({EmailAddress, AppErrorTitle, ToName, lbxErrMessage});
    } catch (...) {
    }
    while (QApplication::overrideCursor())
        QApplication::restoreOverrideCursor();
    return status::ok;
}

HResult ClsErrHandler::get_URL(QVariant* r) {
    return getter(r, [&] { return QVariant(ports_->errorDialog().postingAddress()); });
}

HResult ClsErrHandler::put_URL(const QVariant& vNewValue) {
    return member([&] { ports_->errorDialog().setPostingAddress(platform::CStr(vNewValue)); });
}

HResult createClsErrHandler(std::unique_ptr<HandlerPorts> ports, const Guid& iid, void** out) {
    return com::createObject<ClsErrHandler>(iid, out, std::move(ports));
}

} // namespace trapwell::core
