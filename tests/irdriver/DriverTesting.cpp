#include "DriverTesting.h"

#include "irdriver/IrDriverInstance.h"
#include "host/Device.h"

namespace irdriver_tests {

void DriverTest::TearDown() {
    ReleaseIrDriver();
    TempDevice::TearDown();
}

void DriverTest::use_profile(const std::string& name) {
    ReleaseIrDriver();
    auto& database = host::Device::current().database();
    ASSERT_TRUE(database.set_setting("device.profile", name));
    ASSERT_TRUE(database.set_setting(host::hw::kPacingSetting, "off"));
    host::Device::select(device_root());
}

std::u16string infrared_port(const std::string& profile) {
    if (profile == "sa1110" || profile == "pxa26x" || profile == "s3c2440") return u"COM2:";
    return u"COM3:";
}

}  // namespace irdriver_tests
