#include "tracing/clsaehandling.h"
#include "tracing/programfolder.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTemporaryDir>

#include <memory>

namespace {

// The component is configured only when tests run, not when they are merely listed.
class TracingEnvironment : public testing::Environment {
public:
    void SetUp() override {
        ASSERT_TRUE(logs_.isValid());
        // The logs folder is read when the component is configured, so this comes first.
        folder_ = std::make_unique<veltrano::ProgramFolder::Override>(logs_.path());
        const trapwell::ErrHandler handler = veltrano::clsAEHandling::shared().Handler();
        handler.setUseInterface(false);
        handler.setLogEvent(false);
        // The trace started before the log folder was set; start it over in ours.
        handler.setTraceExecution(true);
    }
    void TearDown() override {
        // Let go of the component while the application still exists.
        veltrano::clsAEHandling::resetForTests();
        folder_.reset();
    }

private:
    QTemporaryDir logs_;
    std::unique_ptr<veltrano::ProgramFolder::Override> folder_;
};

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform warns at every opacity change and raise; tests make hundreds.
void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (!message.startsWith(QLatin1String("This plugin does not support")))
        defaultHandler(type, context, message);
}

} // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    // Settings and data go to folders of our own, never the user's; Qt reads these before
    // anything else, so they are set before the application exists.
    QTemporaryDir configHome, dataHome, runtimeDir;
    if (!configHome.isValid() || !dataHome.isValid() || !runtimeDir.isValid())
        return 2;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configHome.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(dataHome.path()));
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeDir.path()));
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    defaultHandler = qInstallMessageHandler(quietHandler);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("VeltranoEffectsTests"));
    testing::AddGlobalTestEnvironment(new TracingEnvironment);
    return RUN_ALL_TESTS();
}
