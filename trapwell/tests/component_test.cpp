// The built library as a host loads it: exports, factories, reference counts, the class
// registry and creation by identity.

#include "com/classregistry.h"
#include "com/modulepath.h"
#include "platform/tests/support/fakes.h"
#include "platform/tests/support/files.h"
#include "platform/tests/support/outcome.h"
#include "platform/tests/support/settings.h"

#include <trapwell/comtypes.h>
#include <trapwell/errhandler.h>
#include <trapwell/events.h>

#include <QDir>
#include <QFileInfo>
#include <QLocale>
#include <QTemporaryDir>

#include <dlfcn.h>
#include <functional>
#include <gtest/gtest.h>
#include <thread>

using namespace trapwell;
using com::ClassRegistry;

namespace {

// The library's entry points, looked up once for the whole program.
struct Server {
    void* handle = dlopen(TRAPWELL_LIBRARY, RTLD_NOW | RTLD_LOCAL);
    DllGetClassObjectFn getClassObject = symbol<DllGetClassObjectFn>("DllGetClassObject");
    DllCanUnloadNowFn canUnloadNow = symbol<DllCanUnloadNowFn>("DllCanUnloadNow");
    DllRegisterServerFn registerServer = symbol<DllRegisterServerFn>("DllRegisterServer");
    DllUnregisterServerFn unregisterServer = symbol<DllUnregisterServerFn>("DllUnregisterServer");

    template <class F> F symbol(const char* name) const {
        return handle ? reinterpret_cast<F>(dlsym(handle, name)) : nullptr;
    }
};

QString libraryPath() {
    return QFileInfo(QString::fromLocal8Bit(TRAPWELL_LIBRARY)).absoluteFilePath();
}

// The library a created object's code lives in.
QString moduleOf(const ComPtr<IclsErrHandler>& object) {
    return com::modulePathOf(*reinterpret_cast<void**>(object.get()));
}

// What creating a handler the host's way raises, as "number: description".
std::string creationFailure() {
    try {
        ErrHandler::create();
        return "created";
    } catch (const RuntimeError& e) {
        return std::to_string(e.number()) + ": " + e.description().toStdString();
    }
}

class ComponentTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(server.handle, nullptr) << dlerror();
        ASSERT_TRUE(server.getClassObject && server.canUnloadNow && server.registerServer &&
                    server.unregisterServer);
        clearRegistry();
    }
    // The registry outlives the test: every case starts from an empty one and leaves one,
    // so that a registration pointing nowhere cannot fail the tests that follow.
    void TearDown() override { clearRegistry(); }
    static void clearRegistry() { testsettings::forget(QStringLiteral("ComClasses")); }
    inline static const Server server;
};

// A sink that counts its references, answering the event interface or not.
class Sink final : public IclsErrHandlerEvents {
public:
    explicit Sink(bool answersEvents) : answersEvents(answersEvents) {}
    HResult queryInterface(const Guid& iid, void** out) override {
        const bool ok = iid == IID_IUnknown || (answersEvents && iid == DIID_clsErrHandlerEvents);
        *out = ok ? static_cast<IclsErrHandlerEvents*>(this) : nullptr;
        return ok ? (addRef(), status::ok) : status::noInterface;
    }
    std::uint32_t addRef() override { return ++refs; }
    std::uint32_t release() override { return --refs; }
    HResult BeforeHandlerCalled(bool*) override { return status::ok; }
    HResult AfterHandlerCalled() override { return status::ok; }
    const bool answersEvents;
    std::uint32_t refs = 1;
};

} // namespace

TEST_F(ComponentTest, FactoriesServeBothClassesAndRefuseTheRest) {
    ComPtr<IClassFactory> factory;
    ASSERT_EQ(server.getClassObject(&CLSID_SysObj, &IID_IClassFactory, factory.putVoid()),
              status::ok);
    ComPtr<ISysObj> sys;
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_SysObj, sys.putVoid()), status::ok);
    EXPECT_TRUE(sys);
    sys.reset();

    const Guid unknown = *Guid::parse("{00000000-1111-2222-3333-444444444444}");
    void* none = reinterpret_cast<void*>(1);
    EXPECT_EQ(server.getClassObject(&unknown, &IID_IClassFactory, &none),
              status::classNotAvailable);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(server.getClassObject(&CLSID_clsErrHandler, &unknown, &none), status::noInterface);

    ASSERT_EQ(server.getClassObject(&CLSID_clsErrHandler, &IID_IClassFactory, factory.putVoid()),
              status::ok);
    IclsErrHandler* raw = nullptr;
    ASSERT_EQ(factory->CreateInstance(nullptr, IID_clsErrHandler, reinterpret_cast<void**>(&raw)),
              status::ok);
    none = reinterpret_cast<void*>(1);
    EXPECT_EQ(factory->CreateInstance(nullptr, IID_SysObj, &none), status::noInterface);
    EXPECT_EQ(none, nullptr);
    EXPECT_EQ(factory->CreateInstance(raw, IID_clsErrHandler, &none), status::noAggregation);

    // Objects and locks, not factories, keep the library loaded.
    EXPECT_EQ(factory->LockServer(true), status::ok);
    factory.reset();
    EXPECT_EQ(server.canUnloadNow(), status::falseResult);
    EXPECT_EQ(raw->addRef(), 2u);
    IUnknown* viaQuery = nullptr;
    ASSERT_EQ(raw->queryInterface(IID_IUnknown, reinterpret_cast<void**>(&viaQuery)), status::ok);
    EXPECT_EQ(viaQuery->release(), 2u);
    EXPECT_EQ(raw->release(), 1u);
    EXPECT_EQ(raw->release(), 0u);
    EXPECT_EQ(server.canUnloadNow(), status::falseResult); // still locked
    ASSERT_EQ(server.getClassObject(&CLSID_clsErrHandler, &IID_IClassFactory, factory.putVoid()),
              status::ok);
    factory->LockServer(false);
    factory.reset();
    EXPECT_EQ(server.canUnloadNow(), status::ok);
}

TEST_F(ComponentTest, RegistrationIsWrittenRemovedAndConsultedFirst) {
    ASSERT_EQ(server.registerServer(), status::ok);
    EXPECT_EQ(ClassRegistry::libraryOf(CLSID_clsErrHandler), libraryPath());
    EXPECT_EQ(ClassRegistry::libraryOf(CLSID_SysObj), libraryPath());
    EXPECT_EQ(ClassRegistry::classOf(QStringLiteral("Trapwell.clsErrHandler")),
              CLSID_clsErrHandler);
    ASSERT_EQ(server.unregisterServer(), status::ok);
    EXPECT_FALSE(ClassRegistry::libraryOf(CLSID_clsErrHandler));
    EXPECT_FALSE(ClassRegistry::classOf(QStringLiteral("Trapwell.clsErrHandler")));

    // A copy registered from elsewhere serves the class, not the library beside us.
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("libtrapwell-copy.so"));
    ASSERT_TRUE(QFile::copy(libraryPath(), copy));
    void* handle = dlopen(QFile::encodeName(copy).constData(), RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(handle, nullptr) << dlerror();
    ASSERT_EQ(reinterpret_cast<DllRegisterServerFn>(dlsym(handle, "DllRegisterServer"))(),
              status::ok);
    ComPtr<IclsErrHandler> handler;
    ASSERT_EQ(createInstance(CLSID_clsErrHandler, IID_clsErrHandler, handler.putVoid()),
              status::ok);
    EXPECT_EQ(moduleOf(handler), QFileInfo(copy).absoluteFilePath());

    // A registration that points nowhere is not silently replaced by another library.
    ClassRegistry::registerClass(CLSID_clsErrHandler, dir.filePath(QStringLiteral("missing.so")),
                                 QStringLiteral("Trapwell.clsErrHandler"));
    EXPECT_EQ(createInstance(CLSID_clsErrHandler, IID_clsErrHandler, handler.putVoid()),
              status::classNotRegistered);
    EXPECT_FALSE(handler);
    EXPECT_EQ(creationFailure(), "429: ActiveX component can't create object");
}

TEST_F(ComponentTest, UnregisteredClassesAreFoundBesideTheExecutableAndOthersRefused) {
    ComPtr<IclsErrHandler> handler;
    ASSERT_EQ(createInstance(CLSID_clsErrHandler, IID_clsErrHandler, handler.putVoid()),
              status::ok);
    EXPECT_EQ(moduleOf(handler), libraryPath());

    const Guid unknown = *Guid::parse("{12345678-9ABC-DEF0-1234-56789ABCDEF0}");
    void* out = reinterpret_cast<void*>(1);
    EXPECT_EQ(createInstance(unknown, IID_IUnknown, &out), status::classNotRegistered);
    EXPECT_EQ(out, nullptr);
    EXPECT_EQ(createInstance(CLSID_clsErrHandler, unknown, &out), status::noInterface);
}

// A file that dlopen would map and run (or crash on) is refused before: creation fails with
// 429 and nothing of the file runs. (A sound copy at an absolute path loads: the test above.)
TEST_F(ComponentTest, OnlySoundLibrariesAtAbsolutePathsAreLoaded) {
    const QByteArray library = fileBytes(libraryPath());
    QByteArray foreign = library;
    foreign[18] = char(0xB7); // e_machine: another architecture's (AArch64 on x86-64)
    foreign[19] = 0;
    if (foreign.mid(18, 2) == library.mid(18, 2))
        foreign[18] = char(0x3E); // and x86-64 on AArch64
    const std::pair<const char*, QByteArray> files[] = {
        // Cut short: the loader itself died of SIGBUS on the missing pages.
        {"truncated.so", library.left(library.size() / 2)},
        {"header-only.so", library.left(64)},
        {"text.so", QByteArray("not a library\n").repeated(100)},
        {"foreign.so", foreign},
    };
    QTemporaryDir dir;
    for (const auto& [name, bytes] : files) {
        ASSERT_TRUE(writeBytes(dir.filePath(QString::fromLatin1(name)), bytes));
        ClassRegistry::registerClass(CLSID_clsErrHandler, dir.filePath(QString::fromLatin1(name)),
                                     {});
        ComPtr<IclsErrHandler> handler;
        EXPECT_EQ(createInstance(CLSID_clsErrHandler, IID_clsErrHandler, handler.putVoid()),
                  status::classNotRegistered)
            << name;
        EXPECT_FALSE(handler) << name;
    }

    // A relative registry path would depend on the folder the host happens to run in.
    const QString previous = QDir::currentPath();
    QDir::setCurrent(QFileInfo(libraryPath()).absolutePath());
    ClassRegistry::registerClass(CLSID_clsErrHandler, QFileInfo(libraryPath()).fileName(), {});
    ComPtr<IclsErrHandler> handler;
    EXPECT_EQ(createInstance(CLSID_clsErrHandler, IID_clsErrHandler, handler.putVoid()),
              status::classNotRegistered);
    QDir::setCurrent(previous);
}

TEST_F(ComponentTest, ErrorsCrossAsStatusAndRecordAndSinksNeedTheEventInterface) {
    ErrHandler handler = ErrHandler::create();
    QVariant number = 42;
    handler.get()->putref_Cn(&number);
    const auto shared = ComPtr<IclsErrHandler>::share(handler.get());
    auto record = shared.as<ISupportErrorRecord>(IID_ISupportErrorRecord);
    ASSERT_TRUE(record);
    std::int32_t n = 0;
    QString source, description;
    EXPECT_EQ(record->GetErrorRecord(&n, &source, &description), status::ok);
    EXPECT_EQ(quint32(n), 0x800403E9u);
    EXPECT_EQ(source, "Trapwell");
    EXPECT_EQ(description, "Must pass in a valid connection or database object");

    auto point = shared.as<IConnectionPoint>(IID_IConnectionPoint);
    ASSERT_TRUE(point);
    Sink refusing(false), listening(true);
    std::uint32_t cookie = 0;
    EXPECT_EQ(point->Advise(&refusing, &cookie), status::noInterface);
    EXPECT_EQ(refusing.refs, 1u);
    ASSERT_EQ(point->Advise(&listening, &cookie), status::ok);
    EXPECT_EQ(listening.refs, 2u); // the source holds the sink while connected
    EXPECT_EQ(point->Unadvise(cookie), status::ok);
    EXPECT_EQ(listening.refs, 1u);
    EXPECT_EQ(point->Unadvise(cookie), status::invalidArg);
}

// Objects belong to the thread that made them: every member called from elsewhere is
// refused before it touches the object (which no lock guards), and the host's wrapper turns
// the refusal into an error.
TEST_F(ComponentTest, ObjectsRefuseCallsFromOtherThreadsAndStayIntact) {
    QTemporaryDir logs;
    ErrHandler handler = ErrHandler::create();
    handler.setDestination(logs.path());
    handler.setUseInterface(false);
    handler.setLogEvent(false);
    handler.Push(QStringLiteral("Main.Run"));
    handler.setCurrentOperation(QStringLiteral("kept"));
    SysInfo sys = handler.SysObject();

    // One member of each kind: stack, error, getters, plain puts, checked puts, mail values,
    // the system object and a delivery.
    const std::function<void()> calls[] = {
        [&] { handler.Push(QStringLiteral("Worker.Proc")); },
        [&] { handler.Pop(); },
        [&] { handler.AddParam(QStringLiteral("p"), QStringLiteral("Integer"), 1); },
        [&] { handler.HandleError(QStringLiteral("boom"), 5, 10); },
        [&] { handler.ErrorLogDisplay(); },
        [&] { handler.setCurrentOperation(QStringLiteral("changed")); },
        [&] { handler.setDestination(logs.path()); },
        [&] { handler.setFromName(QStringLiteral("x")); },
        [&] { handler.SysObject(); },
        [&] { handler.TransmitMail(QStringLiteral("x")); },
        [&] { sys.PlatForm(); },
    };
    std::vector<std::string> outcomes;
    std::thread([&] {
        for (const auto& call : calls)
            outcomes.push_back(outcome(call));
    }).join();
    EXPECT_EQ(outcomes,
              std::vector(std::size(calls), "error " + std::to_string(status::wrongThread)));

    // Untouched, and still the creator's to use.
    EXPECT_EQ(handler.CallStack(), QStringList({QString(), QStringLiteral("Main.Run")}));
    EXPECT_EQ(handler.CurrentOperation(), "kept");
    EXPECT_EQ(handler.ErrNum(), 0);
    EXPECT_EQ(handler.HandleError(QStringLiteral("boom"), 5, 10), 0);
    EXPECT_EQ(handler.ProcName(), "Main.Run");
    EXPECT_FALSE(sys.PlatForm().isEmpty());
}

// platform is linked into the host and into the component separately: each has its own
// services. A clock the host puts in place stays the host's; the component's report still
// reads the system's.
TEST_F(ComponentTest, AHostsServiceOverrideDoesNotReachTheComponent) {
    const platform::SettableClock year2001({QDate(2001, 2, 3), QTime(4, 5, 6)});
    ASSERT_EQ(platform::Clock::current().now().date().year(), 2001);

    QTemporaryDir logs;
    ErrHandler handler = ErrHandler::create();
    handler.setDestination(logs.path());
    handler.Push(QStringLiteral("Host.Main"));
    const QDate before = QDate::currentDate();
    ASSERT_EQ(handler.HandleError(QStringLiteral("boom"), 5), 0);
    const QDate after = QDate::currentDate();
    const QString report = handler.ErrorLogDisplay();
    const auto stamped = [&](QDate day) {
        return report.contains(QStringLiteral("Current Time:\t") +
                               QLocale().toString(day, QLocale::ShortFormat));
    };
    EXPECT_TRUE(stamped(before) || stamped(after)) << qPrintable(report);
    EXPECT_FALSE(report.contains(QLocale().toString(QDate(2001, 2, 3), QLocale::ShortFormat)));
}
