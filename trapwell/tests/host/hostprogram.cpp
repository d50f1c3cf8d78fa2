// A host that knows the component only through its public headers: it creates the handler
// by class identity and uses its procedure stack. Exits non-zero when that fails.

#include <trapwell/comtypes.h>
#include <trapwell/errhandler.h>

#include <QCoreApplication>
#include <QTemporaryDir>
#include <QTextStream>

#include <climits>
#include <csignal>
#include <cstdlib>
#include <sys/resource.h>
#include <thread>

namespace {
volatile int deepest = INT_MAX;

// A runaway recursion, frames big enough to use the thread's stack up soon.
__attribute__((noinline)) int recurse(int level) {
    volatile char frame[1024];
    frame[0] = char(level);
    return level == deepest ? 0 : recurse(level + 1) + frame[0];
}
} // namespace

// "crash SIGNAL [FOLDER]": a host that records its stack and then crashes in a nested procedure,
// for the test that the next run reports it; with FOLDER, tracing there with its lines held in
// memory, for the test that the crash still writes them. The system's handling must still end the
// process by the signal; no core file is wanted from a test. A real fault, even in a sanitized
// build: the undefined-behaviour checker would otherwise end the process before the store.
// "crash overflow": a handler on a second thread takes the capture over and that thread's
// stack overflows, which only an alternate signal stack of that thread can record.
// "crash wait FOLDER", "crash chained FOLDER": instead of crashing, says "ready" and waits for a
// session's end signal; "chained" handles SIGTERM itself, from before the component did, and
// then returns from main, as a host that ends in order does.
__attribute__((no_sanitize_undefined)) int crash(const QString& how, const QString& traceFolder) {
    const bool waits = how == QLatin1String("wait") || how == QLatin1String("chained");
    if (waits) // ended by it even when a shell started it in the background, ignoring it
        std::signal(SIGINT, SIG_DFL);
    if (how == QLatin1String("chained"))
        std::signal(SIGTERM, [](int) {});
    trapwell::ErrHandler handler = trapwell::ErrHandler::create();
    handler.setCrashCapture(true);
    if (!traceFolder.isEmpty()) {
        handler.setDestination(traceFolder);
        handler.setTraceFlushInterval(3600000);
        handler.setTraceExecution(true);
    }
    handler.Push(QStringLiteral("Form1.Form_Load"));
    handler.Push(QStringLiteral("Module.Übersetzen"));
    handler.Push(QStringLiteral("Module.Divide"));
    handler.Pop();
    handler.Push(QStringLiteral("Module.Read"));
    const rlimit noCore{0, 0};
    ::setrlimit(RLIMIT_CORE, &noCore);
    if (waits) {
        sigset_t all, others;
        sigfillset(&all);
        ::pthread_sigmask(SIG_BLOCK, &all, &others); // none comes before it is awaited
        QTextStream(stdout) << "ready\n";
        ::sigsuspend(&others);
        ::pthread_sigmask(SIG_SETMASK, &others, nullptr); // a signal raised again comes in
        return 0;
    }
    if (how == QLatin1String("abort"))
        std::abort();
    if (how == QLatin1String("overflow")) {
        std::thread([] {
            trapwell::ErrHandler worker = trapwell::ErrHandler::create();
            worker.setCrashCapture(true);
            worker.Push(QStringLiteral("Worker.Run"));
            recurse(0);
        }).join();
    }
    *static_cast<volatile int*>(nullptr) = 1;
    return 0;
}

int main(int argc, char** argv) {
    if ((argc == 3 || argc == 4) && QByteArray(argv[1]) == "crash") {
        QCoreApplication app(argc, argv);
        return crash(QString::fromLatin1(argv[2]),
                     argc == 4 ? QFile::decodeName(argv[3]) : QString());
    }
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    QCoreApplication app(argc, argv);
    // What each member answers is pinned by the component's own tests: here, that a host
    // built this way creates the handler and uses it.
    try {
        trapwell::ErrHandler handler = trapwell::ErrHandler::create();
        handler.setDestination(config.path());
        handler.setUseInterface(false);
        handler.Push(QStringLiteral("Form1.Form_Load"));
        handler.HandleError(QStringLiteral("Subscript out of range"), 9, 70);
        if (handler.ErrorLogDisplay().contains("\r\n01  Form1.Form_Load\r\n"))
            return 0;
        QTextStream(stderr) << "FAILED: the report does not show the procedure\n";
    } catch (const trapwell::RuntimeError& e) {
        QTextStream(stderr) << "error " << e.number() << ": " << e.description() << '\n';
    }
    return 1;
}
