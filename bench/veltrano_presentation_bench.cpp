// The presentation's costs: processor time of an idle wait, how closely a 0.3 second wait
// keeps its time, how long the strip really stays up for the chosen entry time, and reading
// the largest modules into the strip's list.

#include "presentation/form2.h"
#include "presentation/loadlistfromfile.h"
#include "presentation/modsubliminal.h"
#include "presentation/options.h"
#include "presentation/presentationstate.h"
#include "presentation/wait.h"
#include "tracing/clsaehandling.h"
#include "tracing/programfolder.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QEvent>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cmath>
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

// The largest file a module may be: 8 MB, as 32,767 lines of 256 bytes (every one decoded
// and listed) or as one line without end (cut to its first 1,000 characters). The window
// waits for this read, so it must stay well under 50 ms.
void LoadListFromFile_8MB(benchmark::State& state) {
    const bool oneLine = state.range(0) == 1;
    const QString path =
        folder().filePath(oneLine ? QStringLiteral("line.txt") : QStringLiteral("wide.txt"));
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    if (oneLine) {
        file.write(QByteArray(veltrano::maxModuleBytes, 'w'));
    } else {
        const QByteArray line = QByteArray(254, 'w') + "\r\n";
        for (int i = 0; i < veltrano::maxModuleEntries; ++i)
            file.write(line);
    }
    file.close();
    // Into the strip's own list, on the screen, with the layout that follows the load.
    veltrano::Form2& strip = veltrano::Form2::instance();
    strip.show();
    double worst = 0;
    for (auto _ : state) {
        QElapsedTimer elapsed;
        elapsed.start();
        veltrano::LoadListFromFile(path, strip.List1);
        strip.List1->setCurrentRow(strip.List1->count() - 1);
        QCoreApplication::processEvents();
        worst = std::max(worst, double(elapsed.nsecsElapsed()) / 1e6);
    }
    strip.hide();
    state.counters["entries"] = strip.List1->count();
    state.counters["worst_ms"] = worst;
}
BENCHMARK(LoadListFromFile_8MB)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// How long the strip is really on the screen for the entry time chosen in the tray menu.
void Strip_ShownFor(benchmark::State& state) {
    using veltrano::Presentation;
    const double seconds = double(state.range(0)) / 1000.0;
    veltrano::Options::setEntrySeconds(seconds);
    QFile module(folder().filePath(QStringLiteral("data/4.txt")));
    QDir().mkpath(folder().filePath(QStringLiteral("data")));
    module.open(QIODevice::WriteOnly);
    module.write("word - meaning\n");
    module.close();
    Presentation::SelectedModule = 4;
    Presentation::WordInterval = 0;

    struct Watch : QObject {
        QElapsedTimer shown;
        QList<double> ms;
        int wanted = 0;
        bool eventFilter(QObject*, QEvent* e) override {
            if (e->type() == QEvent::Show) {
                shown.start();
            } else if (e->type() == QEvent::Hide && shown.isValid()) {
                ms << double(shown.nsecsElapsed()) / 1e6;
                shown.invalidate();
                if (ms.size() >= wanted)
                    Presentation::running = false;
            }
            return false;
        }
    } watch;
    veltrano::Form2::instance().installEventFilter(&watch);
    for (auto _ : state) {
        watch.wanted = int(watch.ms.size()) + 1;
        Presentation::running = true;
        veltrano::module();
    }
    veltrano::Form2::instance().removeEventFilter(&watch);
    double worst = 0, total = 0;
    for (double ms : watch.ms) {
        worst = std::max(worst, std::abs(ms - seconds * 1000.0));
        total += ms;
    }
    state.counters["shown_ms_mean"] = total / double(watch.ms.size());
    state.counters["off_by_ms_worst"] = worst;
}
BENCHMARK(Strip_ShownFor)
    ->Arg(300)
    ->Arg(1000)
    ->Arg(2000)
    ->Iterations(5)
    ->Unit(benchmark::kMillisecond);

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
