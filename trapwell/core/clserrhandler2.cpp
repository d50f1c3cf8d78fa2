// The members of the handler's second interface, IclsErrHandler2: options added beside the
// specified behaviour, each off (or at its documented default) until a host sets it.

#include "core/clserrhandler.h"

#include "core/crashcapture.h"
#include "core/proceduretable.h"

#include "com/errorrecord.h"
#include "platform/classicconvert.h"
#include "platform/classicerrors.h"
#include "platform/clock.h"
#include "platform/objectmembers.h"

#include <QUrl>
#include <trapwell/comtypes.h>

namespace trapwell::core {

HResult ClsErrHandler::get_RepeatWindow(std::int32_t* result) {
    return getter(result, [&] { return repeats_.window(); });
}

HResult ClsErrHandler::put_RepeatWindow(std::int32_t seconds) {
    return member([&] { repeats_.setWindow(seconds); });
}

HResult ClsErrHandler::get_TraceLimit(std::int64_t* result) {
    return getter(result, [&] { return Trace.limit(); });
}

HResult ClsErrHandler::put_TraceLimit(std::int64_t bytes) {
    return member([&] { Trace.setLimit(bytes); });
}

HResult ClsErrHandler::get_TraceFlushInterval(std::int32_t* result) {
    return getter(result, [&] { return Trace.flushInterval(); });
}

HResult ClsErrHandler::put_TraceFlushInterval(std::int32_t milliseconds) {
    return member([&] { Trace.setFlushInterval(milliseconds); });
}

HResult ClsErrHandler::FlushTrace() {
    return member([&] { Trace.flush(); });
}

void ClsErrHandler::flushTraceQuietly() noexcept {
    try {
        Trace.flush();
    } catch (...) {
    }
}

HResult ClsErrHandler::get_Outbox(bool* result) {
    return getter(result, [&] { return delivery_.outbox; });
}

HResult ClsErrHandler::put_Outbox(bool on) {
    return changeDelivery([&](DeliveryOptions& options) { options.outbox = on; });
}

HResult ClsErrHandler::get_PrivateReports(bool* result) {
    return getter(result, [&] { return delivery_.privacy; });
}

HResult ClsErrHandler::put_PrivateReports(bool on) {
    return changeDelivery([&](DeliveryOptions& options) { options.privacy = on; });
}

HResult ClsErrHandler::get_PrivateParameters(QString* result) {
    return getter(result, [&] { return delivery_.privateParameters.join(u','); });
}

HResult ClsErrHandler::put_PrivateParameters(const QString& names) {
    return changeDelivery([&](DeliveryOptions& options) {
        QStringList words;
        for (const QString& word : names.split(u',', Qt::SkipEmptyParts))
            if (!word.trimmed().isEmpty())
                words << word.trimmed();
        options.privateParameters = words;
    });
}

namespace {

// The "Label:<TAB>value" lines of a report section, after its two heading lines.
CollectorReport::Fields sectionFields(const QString& section) {
    CollectorReport::Fields fields;
    const QStringList lines = section.split(QStringLiteral("\r\n"));
    for (qsizetype i = 2; i < lines.size(); ++i) {
        const qsizetype tab = lines[i].indexOf(u'\t');
        if (tab <= 0)
            continue;
        QString label = lines[i].left(tab).trimmed();
        if (label.endsWith(u':'))
            label.chop(1);
        QString value = lines[i].mid(tab);
        while (value.startsWith(u'\t'))
            value.remove(0, 1);
        fields.append({label, value});
    }
    return fields;
}

QString releaseOf(QObject* app) {
    if (!app)
        return {};
    const auto text = [app](const char* name) {
        return platform::CStr(platform::getMember(app, name));
    };
    QString product = text("ProductName");
    if (product.isEmpty())
        product = text("Title");
    return product + u'@' + text("Major") + u'.' + text("Minor") + u'.' + text("Revision");
}

} // namespace

HResult ClsErrHandler::get_ReportUrl(QString* result) {
    return getter(result, [&] { return delivery_.reportUrl; });
}

HResult ClsErrHandler::put_ReportUrl(const QString& address) {
    return changeDelivery([&](DeliveryOptions& options) {
        const QString scheme = QUrl(address).scheme();
        if (!address.isEmpty() && scheme != QLatin1String("http") &&
            scheme != QLatin1String("https"))
            platform::raiseError(platform::err::invalidPropertyValue);
        options.reportUrl = address;
        keepBreadcrumbs_ = !address.isEmpty();
        if (!keepBreadcrumbs_)
            breadcrumbs_.clear();
    });
}

HResult ClsErrHandler::get_CrashCapture(bool* result) {
    return getter(result, [&] { return crashCapture_ && CrashCapture::armedFor(this); });
}

HResult ClsErrHandler::put_CrashCapture(bool on) {
    return member([&] {
        if (!on) {
            CrashCapture::disarm(this);
            crashCapture_ = false;
            return;
        }
        CrashCapture::arm(this, CrashCapture::defaultFolder());
        crashCapture_ = true;
        // The procedures already running are part of what a crash shows.
        for (std::int32_t i = 1; i <= StackDepth; ++i)
            CrashCapture::entered(this, i, CallStack[std::size_t(i)]);
    });
}

HResult ClsErrHandler::get_PendingCrash(QString* result) {
    return getter(result, [] { return CrashCapture::takePending(CrashCapture::defaultFolder()); });
}

CollectorReport ClsErrHandler::collectorReport(std::int32_t line) const {
    const auto out = [this](const QString& text) { return delivery_.outgoing(text); };
    CollectorReport r;
    r.address = delivery_.reportUrl;
    r.time = platform::Clock::current().now();
    r.errNum = ErrNum;
    r.errDesc = out(ErrDesc);
    r.errLine = line;
    r.customMessage = out(CustomErrMessage);
    for (std::int32_t i = 1; i <= StackDepth; ++i)
        if (!CallStack[std::size_t(i)].isEmpty())
            r.stack << out(CallStack[std::size_t(i)]);
    if (StackDepth >= 0 && StackDepth <= table_->upperBound()) {
        for (const Procedures::Entry& p : table_->at(StackDepth).entries()) {
            bool secret = false;
            for (const QString& word : delivery_.privateParameters)
                secret = secret || (!word.isEmpty() && p.name.contains(word, Qt::CaseInsensitive));
            r.parameters.push_back({p.name, p.type,
                                    delivery_.privacy && secret && !p.value.isEmpty()
                                        ? QStringLiteral("<masked>")
                                        : out(p.value)});
        }
    }
    for (auto& [label, value] : sectionFields(AppLogDisplay))
        r.app.append({label, out(value)});
    for (auto& [label, value] : sectionFields(SysLogDisplay))
        r.system.append({label, out(value)});
    r.release = releaseOf(AppObject.data());
    r.breadcrumbs = breadcrumbs_.entries();
    if (delivery_.privacy)
        for (Breadcrumbs::Entry& e : r.breadcrumbs)
            e.procedure = out(e.procedure);
    r.errorSection = out(ErrorLogDisplay);
    r.appSection = out(AppLogDisplay);
    r.sysSection = out(SysLogDisplay);
    r.dbSection = out(DbLogDisplay);
    return r;
}

void ClsErrHandler::sendReport(std::int32_t line) {
    if (delivery_.reportUrl.isEmpty())
        return;
    ports_->sendReport(collectorReport(line));
}

} // namespace trapwell::core
