#pragma once
// A temporary handheld for tests that open windows: its screen is set per test, and the
// test can let the window thread run until something has happened.

#include <chrono>
#include <functional>

#include "TempDevice.h"

namespace testing_support {

class ScreenDevice : public TempDevice {
protected:
    void SetUp() override;
    void TearDown() override;

    // Sets the handheld's screen (and input panel flags) as `handheld` would.
    void SetScreen(int width, int height, int dpi, unsigned input_panel = 2);
    // Runs the window thread's events until `done` is true; false if it never became true.
    static bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit = std::chrono::seconds(10));
    // Runs everything that is queued now (and a little longer, for events it causes).
    static void RunQueued();
};

}  // namespace testing_support
