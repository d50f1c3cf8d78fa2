#include "links/weblinks.h"

#include "links/addresses.h"
#include "links/website.h"
#include "mainwindow/form1.h"
#include "mainwindow/imagebutton.h"
#include "tracing/traced.h"

#include "platform/shell.h"

#include <QAction>
#include <QUrl>

namespace veltrano {

WebLinks::WebLinks(Form1& form) {
    connect(form.Image1, &ImageButton::Click, this, &WebLinks::Image1_Click);
    connect(form.Image4, &ImageButton::Click, this, &WebLinks::Image4_Click);
    connect(form.mContact, &QAction::triggered, this, &WebLinks::mContact_Click);
    connect(form.mVisit, &QAction::triggered, this, &WebLinks::mVisit_Click);
}

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
