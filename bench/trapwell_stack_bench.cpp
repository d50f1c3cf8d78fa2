// Cost of the calls every traced procedure makes: Push and Pop with tracing off and on
// (against opening, appending one line to and closing the same file directly), AddParam
// with ShowParam, and a whole handled error, also at the depth of a runaway recursion.

#include <trapwell/errhandler.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <unistd.h>

namespace {

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

trapwell::ErrHandler makeHandler(bool tracing) {
    trapwell::ErrHandler handler = trapwell::ErrHandler::create();
    handler.setDestination(folder().path());
    handler.setTraceExecution(tracing);
    return handler;
}

void PushPop_TracingOff(benchmark::State& state) {
    trapwell::ErrHandler handler = makeHandler(false);
    const QString name = QStringLiteral("Form1.Timer1_Timer");
    for (auto _ : state) {
        benchmark::DoNotOptimize(handler.Push(name));
        benchmark::DoNotOptimize(handler.Pop());
    }
}
BENCHMARK(PushPop_TracingOff);

void PushPop_TracingOn(benchmark::State& state) {
    trapwell::ErrHandler handler = makeHandler(true);
    const QString name = QStringLiteral("Form1.Timer1_Timer");
    for (auto _ : state) {
        benchmark::DoNotOptimize(handler.Push(name));
        benchmark::DoNotOptimize(handler.Pop());
    }
}
BENCHMARK(PushPop_TracingOn);

// What a host that sends reports and records crashes pays on every procedure: the trail of
// procedures entered for the report and the table a crash reads.
void PushPop_TrailAndCrashCapture(benchmark::State& state) {
    trapwell::ErrHandler handler = makeHandler(false);
    handler.setReportUrl(QStringLiteral("http://key@127.0.0.1:9/1")); // nothing is sent here
    handler.setCrashCapture(true);
    // Distinct names, so the trail records each instead of counting one up.
    const QString names[2] = {QStringLiteral("Form1.Timer1_Timer"),
                              QStringLiteral("Form1.Timer2_Timer")};
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(handler.Push(names[i++ & 1]));
        benchmark::DoNotOptimize(handler.Pop());
    }
    handler.setCrashCapture(false);
}
BENCHMARK(PushPop_TrailAndCrashCapture);

// The same with one name, as a timer's handler: the trail counts the repeats up.
void PushPop_TrailAndCrashCapture_Repeated(benchmark::State& state) {
    trapwell::ErrHandler handler = makeHandler(false);
    handler.setReportUrl(QStringLiteral("http://key@127.0.0.1:9/1"));
    handler.setCrashCapture(true);
    const QString name = QStringLiteral("Form1.Timer1_Timer");
    for (auto _ : state) {
        benchmark::DoNotOptimize(handler.Push(name));
        benchmark::DoNotOptimize(handler.Pop());
    }
    handler.setCrashCapture(false);
}
BENCHMARK(PushPop_TrailAndCrashCapture_Repeated);

// The floor for tracing: open, append one line, close, with nothing else around it.
void DirectAppend_OpenWriteClose(benchmark::State& state) {
    const QByteArray path = QFile::encodeName(folder().filePath(QStringLiteral("Direct.log")));
    const char line[] = "Form1.Timer1_Timer\r\n";
    for (auto _ : state) {
        const int fd = ::open(path.constData(), O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC, 0666);
        benchmark::DoNotOptimize(::write(fd, line, sizeof line - 1));
        ::close(fd);
    }
}
BENCHMARK(DirectAppend_OpenWriteClose);

void AddParamShowParam(benchmark::State& state) {
    trapwell::ErrHandler handler = makeHandler(false);
    handler.Push(QStringLiteral("modTrans.FadeOut"));
    const QString name = QStringLiteral("vStep");
    const QString type = QStringLiteral("Single");
    const QVariant value = 12.5;
    for (auto _ : state) {
        handler.AddParam(name, type, value);
        benchmark::DoNotOptimize(handler.ShowParam());
        state.PauseTiming();
        handler.Pop(); // drops the list, so every round lists one parameter
        handler.Push(QStringLiteral("modTrans.FadeOut"));
        state.ResumeTiming();
    }
}
BENCHMARK(AddParamShowParam);

// A whole handled error without the dialog: report, Error.log and the emptied stack, with
// 20 procedures on the stack and 5 parameters on the top one.
void HandleError_NoInterface(benchmark::State& state) {
    trapwell::ErrHandler handler = makeHandler(false);
    handler.setUseInterface(false);
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 1; i <= 20; ++i)
            handler.Push(QStringLiteral("Module%1.Procedure%1").arg(i));
        for (int i = 1; i <= 5; ++i)
            handler.AddParam(QStringLiteral("param%1").arg(i), QStringLiteral("Integer"), i);
        state.ResumeTiming();
        benchmark::DoNotOptimize(handler.HandleError(QStringLiteral("Overflow"), 6, 120));
    }
}
BENCHMARK(HandleError_NoInterface)->Unit(benchmark::kMicrosecond);

// A runaway recursion: the report lists the outermost and innermost 500 levels of the
// 100,000, so handling it costs about as much as handling a stack of 1,000.
void HandleError_RunawayRecursion(benchmark::State& state) {
    trapwell::ErrHandler handler = makeHandler(false);
    handler.setUseInterface(false);
    const auto depth = int(state.range(0));
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 1; i <= depth; ++i)
            handler.Push(QStringLiteral("Module1.Recurse"));
        state.ResumeTiming();
        benchmark::DoNotOptimize(handler.HandleError(QStringLiteral("Out of stack space"), 28, 10));
    }
}
BENCHMARK(HandleError_RunawayRecursion)->Arg(1000)->Arg(100000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    qputenv("XDG_STATE_HOME", QFile::encodeName(config.path()));
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
