#include "mainwindow/checkvalues.h"

#include "mainwindow/form1.h"
#include "tracing/traced.h"

#include "platform/classiccheckbox.h"
#include "platform/classicconvert.h"
#include "platform/settingsstore.h"

namespace veltrano {

namespace checkboxsettings {
QString application() {
    return QStringLiteral("Veltrano Rudoz Arirera");
}
QString section() {
    return QStringLiteral("Check Box Selection");
}
QString key(int number) {
    return QStringLiteral("Check Box ") + QString::number(number);
}
} // namespace checkboxsettings

void checkvaluesload(Form1& form) {
    Traced proc(u"modTrans.checkvaluesload");
    proc.run([&](Traced::Line& at) {
        platform::SettingsStore& store = platform::SettingsStore::current();
        for (int n = 4; n <= 25; ++n) {
            at(10);
            const QString text =
                store.GetSetting(checkboxsettings::application(), checkboxsettings::section(),
                                 checkboxsettings::key(n), QStringLiteral("1"));
            at(20);
            form.Check(n)->setValue(platform::CInt(text));
        }
    });
}

void checkvaluessave(Form1& form) {
    Traced proc(u"modTrans.checkvaluessave");
    proc.run([&](Traced::Line& at) {
        platform::SettingsStore& store = platform::SettingsStore::current();
        for (int n = 4; n <= 25; ++n) {
            at(10);
            store.SaveSetting(checkboxsettings::application(), checkboxsettings::section(),
                              checkboxsettings::key(n), QString::number(form.Check(n)->Value()));
        }
    });
}

} // namespace veltrano
