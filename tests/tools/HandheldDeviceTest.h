#pragma once
// A temporary handheld that the tests drive through the `handheld` tool as a process.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "HandheldProcess.h"
#include "TempDevice.h"

namespace tool_tests {

class HandheldDeviceTest : public testing_support::TempDevice {
protected:
    // Runs the tool on this test's handheld.
    HandheldResult handheld(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), {"--device", device_root().string()});
        return run_handheld(arguments);
    }
    // Runs a step that must succeed, returning its output.
    std::string ok(std::vector<std::string> arguments) {
        const auto result = handheld(std::move(arguments));
        EXPECT_EQ(result.exit_code, 0) << result.err;
        return result.out;
    }
};

}  // namespace tool_tests
