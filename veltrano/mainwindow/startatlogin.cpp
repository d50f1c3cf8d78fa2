#include "mainwindow/startatlogin.h"

#include "tracing/traced.h"

#include "platform/autostart.h"
#include "platform/messagebox.h"

#include <QCoreApplication>

namespace veltrano {

void StartAtLogin(bool enable) {
    Traced proc(u"modTrans.StartAtLogin");
    proc.param("enable", "Boolean", enable);
    proc.run([&](Traced::Line& at) {
        at(10);
        const QString name = QStringLiteral("veltrano");
        QString failed;
        const bool done =
            enable ? platform::autostart::enable(name, QStringLiteral("Veltrano"),
                                                 QCoreApplication::applicationFilePath(), &failed)
                   : platform::autostart::disable(name, &failed);
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

} // namespace veltrano
