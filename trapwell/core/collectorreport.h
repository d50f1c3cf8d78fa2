#pragma once

#include "core/breadcrumbs.h"

#include <QDateTime>
#include <QList>
#include <QPair>
#include <QString>

#include <vector>

namespace trapwell::core {

// One handled error as it goes to the report address (IclsErrHandler2::ReportUrl), already
// masked when the host asked for private reports. The deliveries turn it into an error
// collector's event or a JSON document.
struct CollectorReport {
    using Fields = QList<QPair<QString, QString>>;
    struct Parameter {
        QString name, type, value;
    };

    QString address; // a collector's DSN or a plain http(s) URL
    QDateTime time;
    std::int32_t errNum = 0;
    QString errDesc;
    std::int32_t errLine = 0;
    QString customMessage;
    QStringList stack;                 // outermost first
    std::vector<Parameter> parameters; // of the innermost procedure
    Fields app, system;                // the application and system sections, label by label
    QString release;                   // "<product>@<major>.<minor>.<revision>", or empty
    std::vector<Breadcrumbs::Entry> breadcrumbs;
    // The specified report sections, for receivers that take the report as it is shown.
    QString errorSection, appSection, sysSection, dbSection;
};

} // namespace trapwell::core
