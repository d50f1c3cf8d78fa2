#include "links/website.h"

#include "tracing/traced.h"

#include "platform/messagebox.h"
#include "platform/shell.h"

#include <QUrl>

namespace veltrano {

void OpenWebsite(const QString& strWebsite) {
    Traced proc(u"WebSite.OpenWebsite");
    proc.param("strWebsite", "String", strWebsite);
    proc.run([&](Traced::Line& at) {
        at(10);
        const int r = platform::shellOpen(QUrl(strWebsite));
        at(20);
        if (r > 32 || r == 0)
            return;
        const QString title = QStringLiteral("Veltrano Rudoz Arirera");
        at(30);
        if (r == 31)
            platform::MsgBox(QStringLiteral("No Association Found for HTTP Addresses. "
                                            "A Web Browser Should be Installed or Reinstalled."),
                             platform::mb::OKOnly | platform::mb::Exclamation, title);
        else if (r == 2 || r == 3)
            platform::MsgBox(QStringLiteral("The '") + strWebsite +
                                 QStringLiteral("' File or Path was Not Found."),
                             platform::mb::OKOnly | platform::mb::Exclamation, title);
        else
            platform::MsgBox(QStringLiteral("An error occurred attempting to open '") + strWebsite +
                                 QStringLiteral("' (ShellExecute code ") + QString::number(r) +
                                 QStringLiteral(")."),
                             platform::mb::OKOnly | platform::mb::Critical, title);
    });
}

} // namespace veltrano
