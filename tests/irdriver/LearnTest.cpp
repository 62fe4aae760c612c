// Signals played into the simulated receiver and captured with Learn on every profile.

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <vector>

#include "DriverTesting.h"
#include "IrDriverInstance.h"
#include "host/Device.h"
#include "host/hw/ReceiverQueue.h"

namespace irdriver_tests {

namespace {

std::vector<std::int32_t> necIntro() {
    std::vector<std::int32_t> intro{9000, -4500};
    const unsigned code = 0x20DF10EF;
    for (int bit = 0; bit < 32; ++bit) {
        intro.push_back(560);
        intro.push_back((code >> bit) & 1 ? -1690 : -560);
    }
    intro.push_back(560);
    intro.push_back(-40000);
    return intro;
}

class LearnProfileTest : public DriverTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(LearnProfileTest, HeldNecLearnsLeadInAndOneFrame) {
    use_profile(GetParam());
    sim::InfraredPress press;
    press.intro = necIntro();
    press.repeat = {9000, -2250, 560, -96190};
    press.after_ns = 300'000'000;
    press.hold_ns = 600'000'000;
    ASSERT_TRUE(host::hw::ReceiverQueue(host::Device::current().run_dir()).put(press));
    CIrDrvr* driver = GetIrDriver();
    ASSERT_NE(driver, nullptr);
    driver->SetPortName(infrared_port(GetParam()).c_str());
    const auto start = std::chrono::steady_clock::now();
    ASSERT_EQ(driver->Learn(), 0);
    const auto host_ms = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - start).count();
    std::unique_ptr<std::int32_t[]> durations;
    std::uint16_t count = 0, repeatStart = 0, carrier = 0;
    driver->GetLearnedSignal(durations, count, repeatStart, carrier);
    std::vector<std::int32_t> played = press.intro;
    played.insert(played.end(), press.repeat.begin(), press.repeat.end());
    std::printf("%s: count %u repeat %u carrier %u host %lld ms\n", GetParam().c_str(), count, repeatStart, carrier, (long long)host_ms);
    int worst = 0;
    for (std::uint16_t k = 0; k < count && k < played.size(); ++k) {
        worst = std::max(worst, std::abs(std::abs(durations[k]) - std::abs(played[k])));
    }
    std::printf("  worst %d\n", worst);
    EXPECT_EQ(count, 72);
    EXPECT_EQ(repeatStart, 68);
}

INSTANTIATE_TEST_SUITE_P(Profiles, LearnProfileTest,
                         ::testing::Values("sa1110", "pxa250", "pxa255", "pxa26x", "pxa270", "s3c2410", "s3c2440",
                                           "omap1510", "omap850"));

}  // namespace

}  // namespace irdriver_tests
