#include "core/databaseerrorcheck.h"

#include "platform/classicconvert.h"
#include "platform/objectmembers.h"

namespace trapwell::core {

namespace {

const QString crlf = QStringLiteral("\r\n");
const QString tab = QStringLiteral("\t");
constexpr std::int64_t databaseErrorOffset = 2147221504; // 0x7FFC0000

QString text(QObject* object, const char* name) {
    return platform::CStr(platform::getMember(object, name));
}

QObject* errorAt(QObject* errors, int index) {
    return platform::objectOf(platform::callMember(errors, "Item", {index}));
}

} // namespace

QString DatabaseErrorCheck::withoutDriverPrefix(const QString& text) {
    // Later prefixes win over earlier ones.
    static const QString prefixes[] = {QStringLiteral("[SQL Server]"),
                                       QStringLiteral("[ODBC Microsoft Access Driver]")};
    for (auto p = std::rbegin(prefixes); p != std::rend(prefixes); ++p) {
        const qsizetype at = text.indexOf(*p);
        if (at >= 0)
            return QStringLiteral("Database Error: ") + text.mid(at + p->size());
    }
    return text;
}

void DatabaseErrorCheck::run(QObject* connection, QString& errDesc, std::int32_t& errNum,
                             std::int32_t& errorType) {
    if (!connection)
        return;
    try {
        QObject* errors = platform::objectOf(platform::getMember(connection, "Errors"));
        const int count = platform::CLng(text(errors, "Count"));
        if (count == 0) {
            errDesc = withoutDriverPrefix(errDesc);
        } else if (platform::CLng(text(errorAt(errors, 0), "NativeError")) != 0) {
            QString report = crlf + QStringLiteral("DATABASE ERROR MESSAGE(S)") + crlf + crlf;
            for (int i = 0; i < count; ++i) {
                QObject* e = errorAt(errors, i);
                const std::int64_t number = platform::CLng(text(e, "Number"));
                report += QStringLiteral("DB ERROR ") + QString::number(i + 1) + tab +
                          QStringLiteral("Native DB ERR#: ") + text(e, "NativeError") + crlf +
                          QStringLiteral("DESCRIPTION:") + tab +
                          withoutDriverPrefix(text(e, "Description")) + crlf +
                          QStringLiteral("SOURCE:") + tab + tab + text(e, "Source") + crlf +
                          QStringLiteral("SQL STATE:") + tab + text(e, "sqlstate") + crlf +
                          QStringLiteral("ERROR:") + tab + tab +
                          QString::number(number + databaseErrorOffset) + QStringLiteral(" (") +
                          QString::number(number) + u')';
            }
            errDesc = report;
            errNum = platform::CLng(double(errNum + databaseErrorOffset));
            errorType = 1;
        }
        platform::callMember(errors, "Clear");
        platform::callMember(errors, "Refresh");
    } catch (...) {
    }
}

} // namespace trapwell::core
