#include "core/procedures.h"

#include "platform/classicconvert.h"
#include "platform/classicerrors.h"

#include <trapwell/comtypes.h>

namespace trapwell::core {

namespace {
const QString crlf = QStringLiteral("\r\n");
const QString tab = QStringLiteral("\t");

// The value line's text, or "-----" when the value has none (arrays, objects without a
// default text, objects destroyed since).
QString valueText(const Parameter& p) {
    if (p.objectGone())
        return QStringLiteral("-----");
    try {
        return platform::CStr(p.Value());
    } catch (const RuntimeError& e) {
        if (e.number() == platform::err::typeMismatch)
            return QStringLiteral("-----");
        throw;
    }
}
} // namespace

void Procedures::Add(const QString& sParam, const QString& sType, const QVariant& vVal) {
    params_.emplace_back(sParam, sType, vVal);
}

QVariant Procedures::ReadParams() const {
    try {
        QString text;
        const int n = count();
        for (int i = 1; i <= n; ++i) {
            const Parameter& p = params_[std::size_t(i - 1)];
            text += QString::number(i) + ordinalSuffix(i) + QStringLiteral(" Param:") + crlf;
            text += QStringLiteral("Name: ") + tab + p.Param() + crlf;
            text += QStringLiteral("Type : ") + tab + p.PrmType() + crlf;
            text += QStringLiteral("Value: ") + tab + valueText(p) + crlf;
            if (i < n)
                text += crlf;
        }
        return QVariant(crlf + text);
    } catch (...) {
        return QVariant(QString());
    }
}

std::vector<Procedures::Entry> Procedures::entries() const {
    std::vector<Entry> out;
    for (const Parameter& p : params_) {
        QString value;
        try {
            value = valueText(p);
        } catch (...) {
            value = QStringLiteral("-----");
        }
        out.push_back({p.Param(), p.PrmType(), value});
    }
    return out;
}

QString Procedures::ordinalSuffix(int i) {
    const QString digits = QString::number(i);
    const QString lastTwo = digits.right(2);
    if (digits.endsWith(u'1') && lastTwo != QLatin1String("11"))
        return QStringLiteral("st");
    if (digits.endsWith(u'2') && lastTwo != QLatin1String("12"))
        return QStringLiteral("nd");
    if (digits.endsWith(u'3') && lastTwo != QLatin1String("13"))
        return QStringLiteral("rd");
    return QStringLiteral("th");
}

} // namespace trapwell::core
