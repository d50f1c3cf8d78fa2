#include "core/reportcomposer.h"

#include "platform/classicconvert.h"
#include "platform/clock.h"
#include "platform/objectmembers.h"

#include <trapwell/comtypes.h>

#include <QLocale>
#include <QObject>

#include <algorithm>

namespace trapwell::core {

namespace {

const QString crlf = QStringLiteral("\r\n");
// Beyond this many stack levels the report keeps keptAtEachEnd levels at each end.
constexpr std::int32_t maxStackLines = 1000;
constexpr std::int32_t keptAtEachEnd = 500;
const QString tab = QStringLiteral("\t");

// Appends what line() gives, or nothing when it fails.
template <class Line> void add(QString& text, Line&& line) {
    try {
        text += line();
    } catch (...) {
    }
}

QString member(QObject* object, const char* name) {
    return platform::CStr(platform::getMember(object, name));
}

QString sysText(ISysObj* sys, HResult (ISysObj::*property)(QString*)) {
    if (!sys)
        throw RuntimeError(91, {}, {});
    QString text;
    const HResult hr = (sys->*property)(&text);
    if (failed(hr))
        throw RuntimeError(hr, {}, {});
    return text;
}

} // namespace

QString ReportComposer::errorSection(const ErrorFacts& f) {
    QString t;
    const QString kind =
        f.errorType == 0 ? QStringLiteral("Application") : QStringLiteral("Database");
    add(t, [&] {
        const QString heading = kind + QStringLiteral(" Error Information");
        return (f.app ? member(f.app, "Title") + u' ' + heading : heading) + crlf;
    });
    t += QStringLiteral("=====================") + crlf + crlf;
    if (!f.customMessage.isEmpty())
        t += f.customMessage + crlf + crlf;
    add(t, [&] {
        return QStringLiteral("Current Time:") + tab + platform::dateTimeText(f.now, QLocale()) +
               crlf;
    });
    t += QStringLiteral("Error Number:") + tab + QString::number(f.errNum) + crlf;
    t += QStringLiteral("Error Procedure:") + tab + f.procName + crlf;
    t += QStringLiteral("Error Line:") + tab + QString::number(f.errLine) + crlf;
    t += QStringLiteral("Error Description:") + tab + f.errDesc + crlf + crlf;
    t += QStringLiteral("Procedure Stack") + crlf;
    t += QStringLiteral("-------------------") + crlf;
    if (f.callStack) {
        const auto& stack = *f.callStack;
        const std::int32_t top = std::min(f.stackDepth, std::int32_t(stack.size()) - 1);
        // The indent grows with the level, so the lines grow with the square of the depth: a
        // runaway recursion, exactly when a report matters, would take minutes and gigabytes.
        // A deep stack shows its outermost and innermost levels, one line for those between,
        // and indents the innermost as if they followed the outermost directly.
        const bool cut = top > maxStackLines;
        const std::int32_t leftOut = cut ? top - 2 * keptAtEachEnd : 0;
        for (std::int32_t i = 0; i <= top; ++i) {
            if (cut && i == keptAtEachEnd + 1) {
                t += QStringLiteral("... %1 levels left out ...").arg(leftOut) + crlf;
                i += leftOut - 1;
                continue;
            }
            const QString& name = stack[std::size_t(i)];
            const std::int32_t indent = i > keptAtEachEnd ? i - leftOut : i;
            if (!name.isEmpty())
                t += QStringLiteral("%1").arg(i, 2, 10, QLatin1Char('0')) +
                     QString(2 * indent, u' ') + name + crlf;
        }
    }
    if (f.parameters)
        add(t, f.parameters);
    if (!f.currentOperation.isEmpty())
        t += crlf + QStringLiteral("Current Operation: ") + f.currentOperation + crlf;
    if (f.app) {
        t += crlf + QStringLiteral("Additional Information") + crlf;
        t += QStringLiteral("-------------------------") + crlf;
        t += QStringLiteral("Current Directory:") + tab + f.currentDirectory + crlf;
        const struct {
            const char* label;
            const char* member;
            int tabs;
        } lines[] = {{"Title:", "Title", 2},       {"Company Name:", "CompanyName", 1},
                     {"Major:", "Major", 2},       {"Minor:", "Minor", 2},
                     {"Revision:", "Revision", 2}, {"Path:", "Path", 2}};
        for (const auto& l : lines)
            add(t, [&] {
                return QLatin1String(l.label) + QString(l.tabs, u'\t') + member(f.app, l.member) +
                       crlf;
            });
        add(t, [&] { return QStringLiteral("App Name:") + tab + member(f.app, "ProductName"); });
    }
    return t;
}

QString ReportComposer::appSection(QObject* app) {
    QString t = QStringLiteral("App. Information") + crlf + QStringLiteral("=============") + crlf;
    if (!app)
        return t;
    const std::pair<const char*, const char*> lines[] = {
        {"Title:", "Title"},
        {"CompanyName:", "CompanyName"},
        {"Major:", "Major"},
        {"Minor:", "Minor"},
        {"Revision:", "Revision"},
        {"Path:", "Path"},
        {"ProductName:", "ProductName"},
        {"Comments:", "Comments"},
        {"ExeName:", "EXEName"},
        {"File Description:", "FileDescription"},
        {"Help File:", "HelpFile"},
        {"Legal Copyright:", "LegalCopyright"},
        {"Legal Trademarks:", "LegalTrademarks"},
        {"Log Mode:", "LogMode"},
        {"Log Path:", "LogPath"},
    };
    for (const auto& [label, name] : lines)
        add(t, [&] { return QLatin1String(label) + tab + member(app, name) + crlf; });
    return t;
}

QString ReportComposer::sysSection(ISysObj* sys) {
    QString t =
        QStringLiteral("System Information") + crlf + QStringLiteral("=============") + crlf;
    const struct {
        const char* label;
        int tabs;
        HResult (ISysObj::*property)(QString*);
    } lines[] = {
        {"PLatform:", 3, &ISysObj::get_PlatForm},
        {"Version:", 4, &ISysObj::get_OsVersion},
        {"Build:", 4, &ISysObj::get_Build},
        {"Service Pack:", 3, &ISysObj::get_ServicePack},
        {"CPU:", 4, &ISysObj::get_Cpu},
        {"Total Physical Memory:", 2, &ISysObj::get_TotalPhysicalMemory},
        {"Available Physical Memory:", 2, &ISysObj::get_AvailablePhysicalMemory},
        {"Total Virtual Memory:", 2, &ISysObj::get_TotalVirtualMemory},
        {"Available Virtual Memory:", 2, &ISysObj::get_AvailableVirtualMemory},
    };
    const auto last = std::end(lines) - 1;
    for (auto l = std::begin(lines); l != std::end(lines); ++l)
        add(t, [&] {
            return QLatin1String(l->label) + QString(l->tabs, u'\t') + sysText(sys, l->property) +
                   (l == last ? QString() : crlf);
        });
    return t;
}

QString ReportComposer::dbSection(QObject* connection) {
    QString t =
        QStringLiteral("Database Information") + crlf + QStringLiteral("==============") + crlf;
    if (!connection)
        return t;
    add(t, [&] { return QStringLiteral("ADO Version : ") + member(connection, "Version") + crlf; });
    add(t, [&] {
        // The property lines come as a whole or not at all once the collection fails.
        QObject* properties = platform::objectOf(platform::getMember(connection, "Properties"));
        const int count = platform::getMember(properties, "Count").toInt();
        QString lines;
        for (int i = 0; i < count; ++i) {
            QObject* item = platform::objectOf(platform::callMember(properties, "Item", {i}));
            add(lines, [&] {
                return member(item, "Name") + QStringLiteral(" : ") + member(item, "Value") + crlf;
            });
        }
        return lines;
    });
    return t;
}

} // namespace trapwell::core
