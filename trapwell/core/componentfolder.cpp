#include "core/componentfolder.h"

#include "com/modulepath.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <unistd.h>

namespace trapwell::core {

QString componentFolder() {
    const QString library = com::modulePathOf(reinterpret_cast<const void*>(&componentFolder));
    const QString folder = QFileInfo(library).absolutePath();
    if (!library.isEmpty() && ::access(QFile::encodeName(folder).constData(), W_OK) == 0)
        return folder;
    const QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                         QStringLiteral("/trapwell");
    QDir().mkpath(data);
    return data;
}

} // namespace trapwell::core
