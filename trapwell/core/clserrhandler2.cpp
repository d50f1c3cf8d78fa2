// The members of the handler's second interface, IclsErrHandler2: options added beside the
// specified behaviour, each off (or at its documented default) until a host sets it.

#include "core/clserrhandler.h"

#include "platform/com/errorrecord.h"

namespace trapwell::core {

namespace {
const QString componentSource = QStringLiteral("Trapwell");

template <class Body> HResult member(Body&& body) {
    return platform::com::guard(componentSource, std::forward<Body>(body));
}
} // namespace

HResult ClsErrHandler::get_RepeatWindow(std::int32_t* result) {
    if (!result)
        return status::pointer;
    *result = repeats_.window();
    return status::ok;
}

HResult ClsErrHandler::put_RepeatWindow(std::int32_t seconds) {
    return member([&] { repeats_.setWindow(seconds); });
}

HResult ClsErrHandler::get_TraceLimit(std::int64_t* result) {
    if (!result)
        return status::pointer;
    *result = Trace.limit();
    return status::ok;
}

HResult ClsErrHandler::put_TraceLimit(std::int64_t bytes) {
    return member([&] { Trace.setLimit(bytes); });
}

HResult ClsErrHandler::get_Outbox(bool* result) {
    if (!result)
        return status::pointer;
    *result = delivery_.outbox;
    return status::ok;
}

HResult ClsErrHandler::put_Outbox(bool on) {
    return member([&] {
        delivery_.outbox = on;
        ports_->setDeliveryOptions(delivery_);
    });
}

HResult ClsErrHandler::get_PrivateReports(bool* result) {
    if (!result)
        return status::pointer;
    *result = delivery_.privacy;
    return status::ok;
}

HResult ClsErrHandler::put_PrivateReports(bool on) {
    return member([&] {
        delivery_.privacy = on;
        ports_->setDeliveryOptions(delivery_);
    });
}

HResult ClsErrHandler::get_PrivateParameters(QString* result) {
    if (!result)
        return status::pointer;
    *result = delivery_.privateParameters.join(u',');
    return status::ok;
}

HResult ClsErrHandler::put_PrivateParameters(const QString& names) {
    return member([&] {
        QStringList words;
        for (const QString& word : names.split(u',', Qt::SkipEmptyParts))
            if (!word.trimmed().isEmpty())
                words << word.trimmed();
        delivery_.privateParameters = words;
        ports_->setDeliveryOptions(delivery_);
    });
}

} // namespace trapwell::core
