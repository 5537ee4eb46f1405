#pragma once
// The whole program on the headless platform and the virtual clock, in a folder of its own:
// what every whole-program test starts from.

#include <gtest/gtest.h>

#include <filesystem>

#include "tests/support/files.h"
#include "tests/support/program.h"

namespace fruvana::testing {

class WholeProgram : public ::testing::Test, public HeadlessGame {
  protected:
    void SetUp() override {
        ASSERT_FALSE(scratch.path.empty());
        folder = scratch.path;
        options.basePath = folder.string() + "/";
    }
    void TearDown() override { stop(); }

    // Starts the program; tests may change options before.
    void start() {
        std::string error;
        ASSERT_TRUE(launch(false, error)) << error;
    }
    // Starts the program, shows its window and lets the intro run out.
    void startAndReveal() {
        std::string error;
        ASSERT_TRUE(launch(true, error)) << error;
    }

    ScratchFolder scratch;
    std::filesystem::path folder;
};

}  // namespace fruvana::testing
