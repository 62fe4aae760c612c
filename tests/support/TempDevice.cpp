#include "TempDevice.h"

#include <stdlib.h>
#include <unistd.h>

#include <string>

#include "host/Device.h"
#include "host/clock/Clock.h"

namespace testing_support {

void TempDevice::SetUp() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kivo-test-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
    setenv("KIVO_DEVICE", root_.c_str(), 1);
    host::Device::select(root_);
    ASSERT_TRUE(host::Device::current().ready());
    // A new handheld follows the computer's zone; tests keep a clock of their own, in
    // UTC unless they set another, whatever zone the machine running them is in.
    ASSERT_TRUE(host::set_time_zone("UTC"));
}

void TempDevice::TearDown() {
    host::Device::select(std::filesystem::temp_directory_path() / "kivo-test-closed");
    std::error_code ignored;
    std::filesystem::remove_all(root_, ignored);
    std::filesystem::remove_all(std::filesystem::temp_directory_path() / "kivo-test-closed", ignored);
}

}  // namespace testing_support
