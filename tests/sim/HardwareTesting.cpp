#include "HardwareTesting.h"

#include "host/Device.h"

namespace sim_tests {

void HardwareTest::TearDown() {
    unmap_all();
    TempDevice::TearDown();
}

void HardwareTest::use_profile(const std::string& name) {
    unmap_all();
    auto& database = host::Device::current().database();
    ASSERT_TRUE(database.set_setting("device.profile", name));
    ASSERT_TRUE(database.set_setting(host::hw::kPacingSetting, "off"));
    host::Device::select(device_root());
}

ce::RegisterPage HardwareTest::map(std::uint32_t physical, ce::DWORD protect) {
    void* base = ce::VirtualAlloc(nullptr, 4096, ce::MEM_RESERVE, ce::PAGE_NOACCESS);
    EXPECT_NE(base, nullptr);
    if (base == nullptr) return {};
    if (!ce::VirtualCopy(base, reinterpret_cast<void*>(std::uintptr_t{physical} >> 8), 4096, protect)) {
        ce::VirtualFree(base, 0, ce::MEM_RELEASE);
        return {};
    }
    pages_.emplace_back(base);
    return pages_.back();
}

void HardwareTest::unmap_all() {
    for (const auto& page : pages_) ce::VirtualFree(page.base(), 0, ce::MEM_RELEASE);
    pages_.clear();
}

void wait_up(const ce::RegisterPage& page, ce::DWORD offset, std::uint32_t target) {
    while (static_cast<std::int32_t>(page.read32(offset) - target) < 0) {
    }
}

}  // namespace sim_tests
