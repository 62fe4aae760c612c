// The handheld's logs cannot grow without bound, whoever makes a service write to them:
// a full log moves to NAME.log.1 (one old file kept) and begins afresh.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "StandIn.h"
#include "TempDevice.h"
#include "host/DeviceLog.h"

namespace {

class LogRotation : public testing_support::TempDevice {};

TEST_F(LogRotation, AFullLogMovesAsideKeepingOneOldFile) {
    const host::DeviceLog log("notify");
    const std::string filler(200, 'x');
    // Three logs' worth: the oldest is gone, one old file is kept.
    const long lines = 3 * host::DeviceLog::kLimitBytes / static_cast<long>(filler.size());
    for (long line = 0; line < lines; ++line) ASSERT_TRUE(log.write(filler));
    ASSERT_TRUE(log.write("the last line"));

    const auto current = std::filesystem::path(log.file());
    const auto old = std::filesystem::path(log.file() + ".1");
    ASSERT_TRUE(std::filesystem::exists(old));
    EXPECT_LE(std::filesystem::file_size(current), static_cast<std::uintmax_t>(host::DeviceLog::kLimitBytes + 300));
    EXPECT_LE(std::filesystem::file_size(old), static_cast<std::uintmax_t>(host::DeviceLog::kLimitBytes + 300));
    EXPECT_GE(std::filesystem::file_size(old), static_cast<std::uintmax_t>(host::DeviceLog::kLimitBytes));
    EXPECT_EQ(testing_support::log_lines(device_root(), "notify").back(), "the last line");
    EXPECT_FALSE(std::filesystem::exists(log.file() + ".2"));
}

}  // namespace
