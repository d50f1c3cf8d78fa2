// The host side of the component runtime: finding, loading and asking in-process servers.

#include "com/classregistry.h"
#include "com/libraryfile.h"

#include "com/comptr.h"
#include "com/runtime.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <dlfcn.h>
#include <mutex>

namespace com {

namespace {

// The one in-process server that ships beside the program.
const QString componentFileName = QStringLiteral("libtrapwell.so");

// Servers stay loaded for the life of the process once loaded, as objects handed out may
// outlive any bookkeeping of ours; the table only avoids loading one twice.
class LoadedServers {
public:
    DllGetClassObjectFn entryOf(const QString& path) {
        std::lock_guard lock(mutex_);
        if (auto it = servers_.constFind(path); it != servers_.constEnd())
            return it.value();
        // Loading runs the library's constructors: only a sound library of this machine gets
        // that far (a file cut short would crash the loader itself).
        if (!com::isLoadableLibrary(path))
            return nullptr;
        void* handle = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
        if (!handle)
            return nullptr;
        auto entry = reinterpret_cast<DllGetClassObjectFn>(dlsym(handle, "DllGetClassObject"));
        if (!entry) {
            dlclose(handle);
            return nullptr;
        }
        servers_.insert(path, entry);
        return entry;
    }

private:
    std::mutex mutex_;
    QHash<QString, DllGetClassObjectFn> servers_;
};

LoadedServers& loadedServers() {
    static LoadedServers servers;
    return servers;
}

QString executableDir() {
    if (QCoreApplication::instance())
        return QCoreApplication::applicationDirPath();
    return QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).absolutePath();
}

HResult createFrom(DllGetClassObjectFn entry, const Guid& clsid, const Guid& iid, void** out) {
    ComPtr<IClassFactory> factory;
    HResult hr = entry(&clsid, &IID_IClassFactory, factory.putVoid());
    if (failed(hr))
        return hr;
    if (!factory)
        return status::unexpected;
    return factory->CreateInstance(nullptr, iid, out);
}

} // namespace

HResult createInstance(const Guid& clsid, const Guid& iid, void** out) {
    if (!out)
        return status::pointer;
    *out = nullptr;
    if (auto registered = com::ClassRegistry::libraryOf(clsid)) {
        // A relative path would be resolved against whatever folder the host runs in.
        if (QDir::isRelativePath(*registered))
            return status::classNotRegistered;
        DllGetClassObjectFn entry = loadedServers().entryOf(*registered);
        return entry ? createFrom(entry, clsid, iid, out) : status::classNotRegistered;
    }
    // Not registered: a portable copy keeps the component beside the program. Only that one
    // file name is tried; any other library lying there is never loaded (loading runs code).
    DllGetClassObjectFn entry =
        loadedServers().entryOf(QDir(executableDir()).absoluteFilePath(componentFileName));
    const HResult hr = entry ? createFrom(entry, clsid, iid, out) : status::classNotRegistered;
    // A class that library does not serve is one nobody offers.
    return hr == status::classNotAvailable ? status::classNotRegistered : hr;
}

} // namespace com
