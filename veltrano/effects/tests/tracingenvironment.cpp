// The component as the program configures it, with its logs in a folder of the tests' own.

#include "tracing/clsaehandling.h"
#include "tracing/programfolder.h"

#include <gtest/gtest.h>

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

[[maybe_unused]] testing::Environment* const tracing =
    testing::AddGlobalTestEnvironment(new TracingEnvironment);

} // namespace
