// The up-front refusals of SetSignal and Send, each leaving the handheld untouched, and
// the ports: a UART already in infrared mode needs none, a missing one cannot be opened.

#include <gtest/gtest.h>

#include "DriverTesting.h"
#include "irdriver/IrDriverInstance.h"
#include "ce/Files.h"
#include "ce/Thread.h"
#include "irdriver/pxa/CIrDrvrPXA270.h"

namespace irdriver_tests {

namespace {

constexpr std::int32_t kSignal[] = {2000, -1000, 600, -5000};

class SendChecksTest : public DriverTest {
protected:
    void expect_untouched() {
        EXPECT_FALSE(machine().last_trace().has_value());
        EXPECT_TRUE(machine().soc().journal().unrestored().empty());
    }
};

TEST_F(SendChecksTest, MissingRegisterBlockIs301) {
    use_profile("pxa270");
    // A StrongARM driver on an XScale handheld finds none of its blocks.
    auto driver = IrDriverFactory::Create(IrDriverFamily::SA11XX);
    driver->SetPortName(u"COM3:");
    ASSERT_EQ(driver->SetSignal(kSignal, 4, 0, 26), kIrOk);
    EXPECT_EQ(driver->Send(1, 0), kIrBlockUnmapped);
    expect_untouched();
}

TEST_F(SendChecksTest, ThreadAlreadyAtPriorityZeroIs302) {
    use_profile("pxa250");
    ASSERT_TRUE(ce::CeSetThreadPriority(ce::GetCurrentThread(), 0));
    CIrDrvr* driver = GetIrDriver();
    ASSERT_EQ(driver->SetSignal(kSignal, 4, 0, 26), kIrOk);  // UART already in infrared mode
    ASSERT_TRUE(ce::CeSetThreadPriority(ce::GetCurrentThread(), ce::THREAD_PRIORITY_NORMAL_256));
    EXPECT_EQ(driver->Send(1, 0), kIrZeroPriority);
    EXPECT_FALSE(machine().last_trace().has_value());
}

TEST_F(SendChecksTest, NoCarrierIs12) {
    for (const char* profile : {"pxa270", "omap850", "s3c2440"}) {
        use_profile(profile);
        CIrDrvr* driver = GetIrDriver();
        driver->SetPortName(infrared_port(profile).c_str());
        ASSERT_EQ(driver->Open(), kIrOk);
        EXPECT_EQ(driver->SetSignal(kSignal, 4, 0, 0), kIrNoCarrier) << profile;
        EXPECT_EQ(driver->Send(1, 0), kIrNoCarrier) << profile;
        expect_untouched();
    }
}

TEST_F(SendChecksTest, NoInfraredUartIs303) {
    use_profile("pxa255");  // its infrared UART waits for the port's SETIR
    CIrDrvr* driver = GetIrDriver();
    EXPECT_EQ(driver->SetSignal(kSignal, 4, 0, 26), kIrNoPort);
    EXPECT_EQ(driver->Send(1, 0), kIrNoInfraredUart);
    expect_untouched();
}

TEST_F(SendChecksTest, NoPortNameIs304) {
    for (const char* profile : {"sa1110", "omap1510", "pxa255", "s3c2440"}) {
        use_profile(profile);
        EXPECT_EQ(GetIrDriver()->SetSignal(kSignal, 4, 0, 26), kIrNoPort) << profile;
        EXPECT_FALSE(GetIrDriver()->portOpen());
    }
}

TEST_F(SendChecksTest, PortThatCannotBeOpenedIs13) {
    use_profile("sa1110");
    CIrDrvr* driver = GetIrDriver();
    driver->SetPortName(u"COM7:");
    EXPECT_EQ(driver->SetSignal(kSignal, 4, 0, 26), kIrPortUnavailable);
    EXPECT_FALSE(driver->portOpen());
}

TEST_F(SendChecksTest, NoDataIs11) {
    use_profile("omap850");
    CIrDrvr* driver = GetIrDriver();
    driver->SetPortName(u"COM3:");
    EXPECT_EQ(driver->SetSignal(nullptr, 4, 0, 26), kIrNoData);
    EXPECT_EQ(driver->SetSignal(kSignal, 0, 0, 26), kIrNoData);
}

TEST_F(SendChecksTest, UartAlreadyInInfraredModeNeedsNoPort) {
    for (const char* profile : {"pxa250", "pxa26x", "s3c2410"}) {
        use_profile(profile);
        CIrDrvr* driver = GetIrDriver();
        EXPECT_EQ(driver->SetSignal(kSignal, 4, 0, 26), kIrOk) << profile;
        EXPECT_FALSE(driver->portOpen());
    }
}

TEST_F(SendChecksTest, PortOpenedInInfraredModeIsClosedOnRelease) {
    use_profile("pxa270");
    CIrDrvr* driver = GetIrDriver();
    driver->SetPortName(u"COM3:");
    ASSERT_EQ(driver->SetSignal(kSignal, 4, 0, 26), kIrOk);
    EXPECT_TRUE(driver->portOpen());
    EXPECT_EQ(CIrDrvrPXA270::UartIndex(), 3);
    // While the driver holds the port no other program can open it.
    EXPECT_EQ(ce::CreateFileW(u"COM3:", ce::GENERIC_READ | ce::GENERIC_WRITE, 0, ce::OPEN_EXISTING),
              ce::INVALID_HANDLE_VALUE);
    ReleaseIrDriver();
    ce::HANDLE port = ce::CreateFileW(u"COM3:", ce::GENERIC_READ | ce::GENERIC_WRITE, 0, ce::OPEN_EXISTING);
    EXPECT_NE(port, ce::INVALID_HANDLE_VALUE);
    ce::CloseHandle(port);
}

TEST_F(SendChecksTest, RegisterPagesStayMappedUntilTheirLastDriverGoes) {
    use_profile("pxa250");
    CIrDrvr* driver = GetIrDriver();
    IrDriverFactory::Create(IrDriverFamily::PXA250).reset();  // a second user of the same pages comes and goes
    ASSERT_EQ(driver->SetSignal(kSignal, 4, 0, 26), kIrOk);
    EXPECT_EQ(driver->Send(1, 0), kIrOk);
    EXPECT_EQ(machine().last_trace()->marks(), 2u);
    ReleaseIrDriver();
    EXPECT_FALSE(machine().in_session());  // the last holder unmapped them
}

}  // namespace

}  // namespace irdriver_tests
