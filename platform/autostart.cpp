#include "platform/autostart.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStandardPaths>

namespace platform::autostart {

QString entryPath(const QString& name) {
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/autostart/") + name + QStringLiteral(".desktop");
}

bool exists(const QString& name) {
    return QFileInfo::exists(entryPath(name));
}

QString execValue(const QString& program) {
    // Inside the quotes of an Exec argument ", `, $ and \ are escaped with \; the value as
    // a whole then doubles every \ once more, and % stands for a field code unless doubled.
    QString quoted;
    for (const QChar c : program) {
        if (c == u'"' || c == u'`' || c == u'$' || c == u'\\')
            quoted += u'\\';
        quoted += c;
    }
    quoted.replace(u'\\', QStringLiteral("\\\\"));
    quoted.replace(u'%', QStringLiteral("%%"));
    return u'"' + quoted + u'"';
}

bool enable(const QString& name, const QString& displayName, const QString& program,
            QString* error) {
    const QString path = entryPath(name);
    if (!QDir().mkpath(QFileInfo(path).path())) {
        *error = QFileInfo(path).path();
        return false;
    }
    QSaveFile file(path);
    const QByteArray text = "[Desktop Entry]\n"
                            "Type=Application\n"
                            "Name=" +
                            displayName.toUtf8() +
                            "\n"
                            "Exec=" +
                            execValue(program).toUtf8() +
                            "\n"
                            "Icon=" +
                            name.toUtf8() +
                            "\n"
                            "Terminal=false\n"
                            "X-GNOME-Autostart-enabled=true\n";
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit()) {
        *error = path;
        return false;
    }
    return true;
}

bool disable(const QString& name, QString* error) {
    QFile file(entryPath(name));
    if (!file.exists() || file.remove())
        return true;
    *error = file.fileName();
    return false;
}

} // namespace platform::autostart
