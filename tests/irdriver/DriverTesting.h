#pragma once
// A temporary handheld of one processor profile, pacing off, with the driver released
// (and so its registers unmapped) after every test.

#include <string>

#include "TempDevice.h"
#include "host/hw/Machine.h"

namespace irdriver_tests {

class DriverTest : public testing_support::TempDevice {
protected:
    void TearDown() override;
    void use_profile(const std::string& name);
    host::hw::Machine& machine() { return host::hw::Machine::current(); }
};

// The serial port of the profile's infrared UART.
std::u16string infrared_port(const std::string& profile);

}  // namespace irdriver_tests
