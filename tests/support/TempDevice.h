#pragma once
// A fresh handheld in a temporary directory for one test, selected for this process
// and exported as KIVO_DEVICE so child processes use the same one.

#include <gtest/gtest.h>

#include <filesystem>

namespace testing_support {

class TempDevice : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    const std::filesystem::path& device_root() const { return root_; }
    // The host path of a device path's file (for checks from outside the device).
    std::filesystem::path host_path(const std::string& relative) const { return root_ / "fs" / relative; }

private:
    std::filesystem::path root_;
};

}  // namespace testing_support
