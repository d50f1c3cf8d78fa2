#include "tracing/appobject.h"

#include "tracing/addresses.h"
#include "tracing/programfolder.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace veltrano {

int AppObject::Major() const {
    return VELTRANO_VERSION_MAJOR;
}
int AppObject::Minor() const {
    return VELTRANO_VERSION_MINOR;
}
int AppObject::Revision() const {
    return VELTRANO_VERSION_PATCH;
}

QString AppObject::Path() const {
    return ProgramFolder::logFolder();
}

QString AppObject::EXEName() const {
    return QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
}

QString AppObject::CompanyName() const {
    return QString::fromLatin1(addresses::website);
}

} // namespace veltrano
