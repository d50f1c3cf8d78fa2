// Compiled into each of the program's test executables: the program's images are loaded
// once the application exists, as the program's own start does.

#include "mainwindow/imagebutton.h"

#include <gtest/gtest.h>

namespace {

class ProgramResources final : public testing::Environment {
public:
    void SetUp() override { veltrano::loadImageResources(); }
};

[[maybe_unused]] testing::Environment* const resources =
    testing::AddGlobalTestEnvironment(new ProgramResources);

} // namespace
