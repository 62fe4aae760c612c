// The main of test programs that open windows: one Qt application for all their tests.
// Listing the tests (for CTest's discovery) needs no display and makes none.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <system_error>

#include "framework/CWinApp.h"
#include "host/Device.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (::testing::GTEST_FLAG(list_tests)) return RUN_ALL_TESTS();
    // The application takes its fonts and measures from the screen of the handheld it
    // starts on: a fresh one with the design screen, not the user's own handheld, which
    // may be turned or at 192 dpi. Each test then has a handheld of its own.
    std::string pattern = (std::filesystem::temp_directory_path() / "kivo-qt-start-XXXXXX").string();
    const bool fresh = mkdtemp(pattern.data()) != nullptr;
    if (fresh) {
        setenv("KIVO_DEVICE", pattern.c_str(), 1);
        host::Device::select(pattern);
    }
    CWinApp::EnsureQt(argc, argv);
    const int result = RUN_ALL_TESTS();
    std::error_code ignored;
    if (fresh) std::filesystem::remove_all(pattern, ignored);
    return result;
}
