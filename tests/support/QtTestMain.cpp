// The main of test programs that open windows: one Qt application for all their tests.
// Listing the tests (for CTest's discovery) needs no display and makes none.

#include <gtest/gtest.h>

#include "framework/CWinApp.h"

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (!::testing::GTEST_FLAG(list_tests)) CWinApp::EnsureQt(argc, argv);
    return RUN_ALL_TESTS();
}
