// The main window's timer tick in its normal state (the window not minimized): the icon
// value assignment that changes nothing, the window-state test, and the tracing around them,
// with the trace log written as the program writes it.

#include "mainwindow/form1.h"
#include "mainwindow/imagebutton.h"
#include "mainwindow/trayhandlers.h"
#include "tracing/clsaehandling.h"
#include "tracing/programfolder.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTimer>

#include <benchmark/benchmark.h>

namespace {

QTemporaryDir& folder() {
    static QTemporaryDir dir;
    return dir;
}

void Timer1_Timer_NormalState(benchmark::State& state) {
    veltrano::Form1 form;
    form.Timer1->stop();
    form.Form_Load();
    form.tray().Timer1_Timer(); // installs image 1 once
    for (auto _ : state)
        form.tray().Timer1_Timer();
}
BENCHMARK(Timer1_Timer_NormalState);

} // namespace

int main(int argc, char** argv) {
    QTemporaryDir config;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    veltrano::loadImageResources();
    veltrano::ProgramFolder::Override programFolder(folder().path());
    auto handler = veltrano::clsAEHandling::shared().Handler();
    handler.setLogEvent(false);
    handler.setUseInterface(false);
    handler.setTraceExecution(true); // in the benchmark's own folder
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
