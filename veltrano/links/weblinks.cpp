#include "links/weblinks.h"

#include "links/website.h"
#include "tracing/addresses.h"
#include "tracing/traced.h"

#include "platform/shell.h"

#include <QUrl>

namespace veltrano {

void WebLinks::openMailLink() {
    platform::shellOpen(QUrl(QStringLiteral("mailto:") + QLatin1String(addresses::supportMail)));
}

void WebLinks::Image1_Click() {
    Traced proc(u"Form1.Image1_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        OpenWebsite(QString::fromLatin1(addresses::updateDownload));
    });
}

void WebLinks::mVisit_Click() {
    Traced proc(u"Form1.mVisit_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        OpenWebsite(QString::fromLatin1(addresses::website));
    });
}

void WebLinks::Image4_Click() {
    Traced proc(u"Form1.Image4_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        openMailLink();
    });
}

void WebLinks::mContact_Click() {
    Traced proc(u"Form1.mContact_Click");
    proc.run([&](Traced::Line& at) {
        at(10);
        openMailLink();
    });
}

} // namespace veltrano
