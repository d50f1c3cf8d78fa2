#include "mainwindow/startatlogin.h"

#include "mainwindow/form1.h"
#include "tracing/traced.h"

#include "platform/autostart.h"
#include "platform/classiccheckbox.h"
#include "platform/messagebox.h"

#include <QCoreApplication>

namespace veltrano {

namespace {
const QString entryName = QStringLiteral("veltrano");
} // namespace

void StartAtLogin(bool enable) {
    Traced proc(u"modTrans.StartAtLogin");
    proc.param("enable", "Boolean", enable);
    proc.run([&](Traced::Line& at) {
        at(10);
        if (platform::autostart::exists(entryName) == enable)
            return;
        QString failed;
        const bool done =
            enable ? platform::autostart::enable(entryName, QStringLiteral("Veltrano"),
                                                 QCoreApplication::applicationFilePath(), &failed)
                   : platform::autostart::disable(entryName, &failed);
        at(20);
        if (!done)
            platform::MsgBox(
                (enable ? QStringLiteral("Veltrano cannot be set to start when you log in: %1 "
                                         "cannot be written.")
                        : QStringLiteral("Veltrano cannot be kept from starting when you log in: "
                                         "%1 cannot be removed."))
                    .arg(failed),
                platform::mb::OKOnly | platform::mb::Exclamation,
                QStringLiteral("Veltrano Rudoz Arirera"));
    });
}

void startatloginload(Form1& form) {
    Traced proc(u"modTrans.startatloginload");
    proc.run([&](Traced::Line& at) {
        at(10);
        const bool starts = platform::autostart::exists(entryName);
        at(20);
        form.Check(26)->setValue(starts ? 1 : 0);
    });
}

} // namespace veltrano
