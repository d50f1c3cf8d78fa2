// The presentation's costs: processor time of an idle wait, how closely a 0.3 second wait
// keeps its time, and reading the largest module into the strip's list.

#include "presentation/loadlistfromfile.h"
#include "presentation/wait.h"
#include "tracing/clsaehandling.h"
#include "tracing/programfolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <ctime>

namespace {

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

double processSeconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

// Processor seconds used per second of waiting while nothing happens.
void Wait_IdleCpuPerSecond(benchmark::State& state) {
    double cpu = 0, wall = 0;
    for (auto _ : state) {
        QElapsedTimer elapsed;
        elapsed.start();
        const double before = processSeconds();
        veltrano::Wait(1.0);
        cpu += processSeconds() - before;
        wall += double(elapsed.nsecsElapsed()) / 1e9;
    }
    state.counters["cpu_per_second"] = cpu / wall;
}
BENCHMARK(Wait_IdleCpuPerSecond)->Iterations(3)->Unit(benchmark::kMillisecond);

// How far past its target a 0.3 second wait ends.
void Wait_300ms_Overshoot(benchmark::State& state) {
    double worst = 0, total = 0;
    for (auto _ : state) {
        QElapsedTimer elapsed;
        elapsed.start();
        veltrano::Wait(0.3);
        const double over = double(elapsed.nsecsElapsed()) / 1e6 - 300.0;
        worst = std::max(worst, over);
        total += over;
    }
    state.counters["overshoot_ms_mean"] = total / double(state.iterations());
    state.counters["overshoot_ms_worst"] = worst;
}
BENCHMARK(Wait_300ms_Overshoot)->Iterations(10)->Unit(benchmark::kMillisecond);

void LoadListFromFile_32767Entries(benchmark::State& state) {
    const QString path = folder().filePath(QStringLiteral("big.txt"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    for (int i = 0; i < veltrano::maxModuleEntries; ++i)
        file.write("abandon - to leave behind for good, number " + QByteArray::number(i) + "\r\n");
    file.close();
    QListWidget list;
    for (auto _ : state)
        veltrano::LoadListFromFile(path, &list);
    state.counters["entries"] = list.count();
}
BENCHMARK(LoadListFromFile_32767Entries)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    veltrano::ProgramFolder::Override programFolder(folder().path());
    veltrano::clsAEHandling::shared().Handler().setLogEvent(false);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
