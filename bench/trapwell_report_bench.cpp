// Cost of one report sent to a collector: HandleError with 200 procedures on the stack
// composes the report, builds and compresses the collector's event and hands it to the
// delivery thread, which posts it to a server on loopback; timed until the server has the
// whole request.

#include "platform/tests/support/loopbackhttp.h"

#include <trapwell/errhandler.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

namespace {

// The server answers from this thread's event loop: let its answer reach the delivery thread
// before the next round (or the handler's end, which waits for that thread).
void letTheAnswerOut() {
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < 20)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
}

void HandleError_200Procedures_ToCollector(benchmark::State& state) {
    QTemporaryDir dir;
    platform::LoopbackHttp server;
    if (!server.listen()) {
        state.SkipWithError("no loopback port");
        return;
    }
    trapwell::ErrHandler handler = trapwell::ErrHandler::create();
    handler.setDestination(dir.path());
    handler.setUseInterface(false);
    handler.setReportUrl(QStringLiteral("http://key@127.0.0.1:%1/1").arg(server.port()));
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 1; i <= 200; ++i)
            handler.Push(QStringLiteral("Module%1.Procedure%1").arg(i));
        for (int i = 1; i <= 5; ++i)
            handler.AddParam(QStringLiteral("param%1").arg(i), QStringLiteral("Integer"), i);
        const qsizetype before = server.requests.size();
        state.ResumeTiming();
        handler.HandleError(QStringLiteral("Overflow"), 6, 120);
        while (server.requests.size() == before)
            QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
        state.PauseTiming();
        letTheAnswerOut();
        state.ResumeTiming();
    }
    state.counters["bytes"] = double(server.requests.last().body.size());
}
BENCHMARK(HandleError_200Procedures_ToCollector)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir home;
    for (const char* variable : {"XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME"})
        qputenv(variable, QFile::encodeName(home.path()));
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
