// The main of test programs that open windows: one Qt application for all their tests.
// Listing the tests (for CTest's discovery) needs no display and makes none.

#include <gtest/gtest.h>

#include "framework/CWinApp.h"

// fontconfig keeps the patterns of fonts added at run time until the process ends; they
// are not the tests' to free.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!::testing::GTEST_FLAG(list_tests)) CWinApp::EnsureQt(argc, argv);
    return RUN_ALL_TESTS();
}
