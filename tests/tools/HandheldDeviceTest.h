#pragma once
// A temporary handheld that the tests drive through the `handheld` tool as a process.

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
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
    // Waits until `ui dump` of the foreground window holds `text`: 20 s at most, as a
    // program started on a loaded machine may take long to draw its first window.
    bool Shows(const std::string& text) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < end) {
            if (handheld({"ui", "dump"}).out.find(text) != std::string::npos) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
};

}  // namespace tool_tests
