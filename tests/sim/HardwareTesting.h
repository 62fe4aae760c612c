#pragma once
// A temporary handheld of a chosen processor profile with pacing off, and the few
// register idioms the tests drive the models with, written as the drivers write them.

#include <cstdint>
#include <string>
#include <vector>

#include "TempDevice.h"
#include "ce/Memory.h"
#include "host/hw/Machine.h"

namespace sim_tests {

class HardwareTest : public testing_support::TempDevice {
protected:
    void TearDown() override;

    // Rebuilds the handheld with this profile (its SoC model starts afresh).
    void use_profile(const std::string& name);
    // Reserves and maps one physical page read-write (0x604), as the drivers do.
    ce::RegisterPage map(std::uint32_t physical, ce::DWORD protect = 0x604);
    void unmap_all();
    host::hw::Machine& machine() { return host::hw::Machine::current(); }

private:
    std::vector<ce::RegisterPage> pages_;
};

// Waits while (counter - target) < 0 on a 32-bit up-counter, wrap-safe.
void wait_up(const ce::RegisterPage& page, ce::DWORD offset, std::uint32_t target);

}  // namespace sim_tests
