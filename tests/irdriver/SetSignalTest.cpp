// What SetSignal stores, per family: the clamps, the closing gap after a trailing mark,
// the carrier (and the units the OMAP drivers keep), and the carrier arithmetic.

#include <gtest/gtest.h>

#include <vector>

#include "DriverTesting.h"
#include "irdriver/IrDriverInstance.h"
#include "irdriver/OsTimerCarrier.h"
#include "irdriver/omap/CIrDrvrOMAP1510.h"
#include "irdriver/s3c/CIrDrvrSamsungS3C.h"

namespace irdriver_tests {

namespace {

class SetSignalTest : public DriverTest {
protected:
    CIrDrvr& driver(const std::string& profile) {
        use_profile(profile);
        CIrDrvr* d = GetIrDriver();
        EXPECT_NE(d, nullptr);
        d->SetPortName(infrared_port(profile).c_str());
        return *d;
    }
};

TEST_F(SetSignalTest, LongSignalKeepsThreeHundredEntries) {
    std::vector<std::int32_t> signal(400);
    for (std::size_t i = 0; i < signal.size(); ++i) signal[i] = i % 2 == 0 ? 600 : -600;
    auto& d = driver("pxa270");
    EXPECT_EQ(d.SetSignal(signal.data(), 400, 0, 26), kIrOk);
    EXPECT_EQ(d.count(), 300);
    EXPECT_EQ(d.duration(299), -600);
    EXPECT_EQ(d.repeatStart(), 0);
}

TEST_F(SetSignalTest, TrailingMarkWithoutRepeatFrameGetsHalfASecondGap) {
    const std::int32_t signal[] = {900, -450, 560};
    auto& d = driver("pxa270");
    ASSERT_EQ(d.SetSignal(signal, 3, 3, 38), kIrOk);
    EXPECT_EQ(d.count(), 4);
    EXPECT_EQ(d.duration(3), -500'000);
    EXPECT_EQ(d.repeatStart(), 4);
    EXPECT_EQ(d.nextIndex(), 0);
    // A repeat start far beyond the signal is the same request; it must not wrap to 0.
    ASSERT_EQ(d.SetSignal(signal, 3, 0xFFFF, 38), kIrOk);
    EXPECT_EQ(d.repeatStart(), 4);
    // With a repeated frame the signal is kept as given.
    ASSERT_EQ(d.SetSignal(signal, 3, 1, 38), kIrOk);
    EXPECT_EQ(d.count(), 3);
    EXPECT_EQ(d.repeatStart(), 1);
}

TEST_F(SetSignalTest, CarrierOutsideTenToFiftyIsStoredAsTwentySix) {
    const std::int32_t signal[] = {900, -450};
    auto& d = driver("pxa250");
    for (auto [given, stored] : {std::pair{9, 26}, {51, 26}, {10, 10}, {50, 50}, {36, 36}}) {
        ASSERT_EQ(d.SetSignal(signal, 2, 0, static_cast<std::uint16_t>(given)), kIrOk);
        EXPECT_EQ(d.carrier(), stored) << given;
    }
    EXPECT_EQ(d.SetSignal(signal, 2, 0, 0), kIrNoCarrier);
    EXPECT_EQ(d.SetSignal(nullptr, 2, 0, 26), kIrNoData);
    EXPECT_EQ(d.SetSignal(signal, 0, 0, 26), kIrNoData);
}

TEST_F(SetSignalTest, OmapDriversKeepTimerTicks) {
    const std::int32_t signal[] = {1000, -2000, 26};
    {
        auto& d = driver("omap1510");
        ASSERT_EQ(d.SetSignal(signal, 3, 3, 26), kIrOk);
        EXPECT_EQ(d.duration(0), 3038);
        EXPECT_EQ(d.duration(1), -6076);
        EXPECT_EQ(d.duration(3), -1'519'000);
        EXPECT_EQ(d.carrier(), 26);  // µs: the UART divisor carries the carrier
        EXPECT_TRUE(static_cast<CIrDrvrOMAP1510&>(d).registersChanged());
    }
    auto& d = driver("omap850");
    ASSERT_EQ(d.SetSignal(signal, 3, 3, 26), kIrOk);
    EXPECT_EQ(d.duration(0), 6480);
    EXPECT_EQ(d.duration(2), 168);
    EXPECT_EQ(d.duration(3), -3'240'000);
    EXPECT_EQ(d.carrier(), 168);
    // Beyond the 32-bit range a space stays the longest space, and a period the longest period.
    const std::int32_t longest[] = {1000, -400'000'000};
    ASSERT_EQ(d.SetSignal(longest, 2, 0, 20'000), kIrOk);
    EXPECT_EQ(d.duration(1), -2'147'483'647);
    EXPECT_EQ(d.carrier(), 65535);
}

TEST_F(SetSignalTest, OmapFailedOpenStopsBeforeAnyRegisterChanges) {
    use_profile("omap1510");
    CIrDrvr* d = GetIrDriver();
    const std::int32_t signal[] = {1000, -2000};
    EXPECT_EQ(d->SetSignal(signal, 2, 0, 26), kIrNoPort);
    EXPECT_FALSE(static_cast<CIrDrvrOMAP1510*>(d)->registersChanged());
    EXPECT_EQ(d->count(), 0);
}

TEST_F(SetSignalTest, GetLearnedSignalCopiesTheStoredSignal) {
    auto& d = driver("pxa270");
    std::unique_ptr<std::int32_t[]> durations;
    std::uint16_t count = 9, repeat = 9, carrier = 9;
    d.GetLearnedSignal(durations, count, repeat, carrier);
    EXPECT_EQ(durations, nullptr);
    EXPECT_EQ(count + repeat + carrier, 0);
    const std::int32_t signal[] = {900, -450, 560, -2000};
    ASSERT_EQ(d.SetSignal(signal, 4, 2, 26), kIrOk);
    d.GetLearnedSignal(durations, count, repeat, carrier);
    ASSERT_EQ(count, 4);
    EXPECT_EQ(durations[3], -2000);
    EXPECT_EQ(repeat, 2);
    EXPECT_EQ(carrier, 26);
}

TEST(CarrierArithmetic, OsTimerRoundsUpAboveFourTenths) {
    EXPECT_EQ(OsTimerCarrier::Round(26 * 3.6864f), 96u);         // 95.85
    EXPECT_EQ(OsTimerCarrier::Round(26 * 3250 * 0.001f), 85u);   // 84.5
    EXPECT_EQ(OsTimerCarrier::Round(25 * 3.25f), 81u);           // 81.25
    OsTimerCarrier::Set(85);
    EXPECT_EQ(OsTimerCarrier::High(), 43u);
    EXPECT_EQ(OsTimerCarrier::Low(), 42u);
}

TEST(CarrierArithmetic, Omap1510DivisorTable) {
    for (auto [us, divisor] : {std::pair{10, 17}, {11, 17}, {20, 30}, {26, 39}, {36, 53}, {55, 79}, {56, 80},
                               {100, 144}, {150, 144}})
        EXPECT_EQ(CIrDrvrOMAP1510::Divisor(static_cast<std::uint16_t>(us)), divisor) << us;
}

TEST(CarrierArithmetic, S3cTimerRateFromClockDividerAndPrescaler) {
    // 244x with CLKDIVN 7: HCLK = clock / 3, PCLK = HCLK / 2.
    EXPECT_EQ(CIrDrvrSamsungS3C::TicksPerMs(400'000'000, true, 0x7, 0), 33333u);
    EXPECT_EQ(CIrDrvrSamsungS3C::TicksPerMs(400'000'000, false, 0x7, 0), 50000u);
    EXPECT_EQ(CIrDrvrSamsungS3C::TicksPerMs(0, false, 0x0, 0x6400), 1004u);  // 203 MHz / 101 / 2
    EXPECT_EQ(CIrDrvrSamsungS3C::TicksPerMs(266'000'000, false, 0x3, 0x1200), 1750u);
    // A clock reported in Hz is taken as such: 300 MHz / 2 / 2 / 1 × 0.5.
    EXPECT_EQ(CIrDrvrSamsungS3C::TicksPerMs(300'000'000, false, 0x3, 0), 37500u);
    EXPECT_EQ(CIrDrvrSamsungS3C::TicksPerMs(300, false, 0x3, 0), 37500u);
}

TEST_F(SetSignalTest, S3cDriverWorksTheRateOutFromTheHandheld) {
    for (auto [profile, rate] : {std::pair{"s3c2410", 1750u}, {"s3c2440", 1000u}}) {
        use_profile(profile);
        EXPECT_EQ(static_cast<CIrDrvrSamsungS3C*>(GetIrDriver())->ticksPerMs(), rate) << profile;
    }
}

}  // namespace

}  // namespace irdriver_tests
