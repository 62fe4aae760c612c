// The hardware calls around the SoC: serial ports, scheduling, LEDs, keys, the input
// queue, the counter and Sleep.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "ChildProcess.h"
#include "HardwareTesting.h"
#include "ce/Files.h"
#include "ce/Input.h"
#include "ce/Led.h"
#include "ce/Processor.h"
#include "ce/Serial.h"
#include "ce/Thread.h"
#include "host/Device.h"
#include "host/hw/InputState.h"

namespace sim_tests {

namespace {

class HostCallsTest : public HardwareTest {
protected:
    void SetUp() override {
        HardwareTest::SetUp();
        use_profile("pxa270");
    }
    static ce::HANDLE open_port(const char16_t* name) {
        return ce::CreateFileW(name, ce::GENERIC_READ | ce::GENERIC_WRITE, 0, ce::OPEN_EXISTING);
    }
};

TEST_F(HostCallsTest, PortIsExclusiveAcrossProcesses) {
    testing_support::ChildProcess agent(testing_support::executable_dir() + "/kivo_port_agent", {});
    ASSERT_TRUE(agent.started());
    agent.send_line("open COM3:");
    ASSERT_EQ(agent.read_line(), "ok");
    EXPECT_EQ(open_port(u"COM3:"), ce::INVALID_HANDLE_VALUE);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_ACCESS_DENIED);
    // Another port is free meanwhile.
    ce::HANDLE other = open_port(u"com1:");
    EXPECT_NE(other, ce::INVALID_HANDLE_VALUE);
    ce::CloseHandle(other);
    agent.send_line("close");
    ASSERT_EQ(agent.read_line(), "ok");
    ce::HANDLE mine = open_port(u"COM3:");
    ASSERT_NE(mine, ce::INVALID_HANDLE_VALUE);
    agent.send_line("open COM3:");
    EXPECT_EQ(agent.read_line(), "error 5");
    ce::CloseHandle(mine);
}

TEST_F(HostCallsTest, PortCrashedOwnerFreesIt) {
    {
        testing_support::ChildProcess agent(testing_support::executable_dir() + "/kivo_port_agent", {});
        agent.send_line("open COM3:");
        ASSERT_EQ(agent.read_line(), "ok");
        agent.kill();
        agent.wait();
    }
    ce::HANDLE port = open_port(u"COM3:");
    EXPECT_NE(port, ce::INVALID_HANDLE_VALUE);
    ce::CloseHandle(port);
}

TEST_F(HostCallsTest, PortOpenedTwiceInOneProcessIsRefusedAndUnknownPortsAreMissing) {
    ce::HANDLE first = open_port(u"COM3:");
    ASSERT_NE(first, ce::INVALID_HANDLE_VALUE);
    EXPECT_EQ(open_port(u"COM3:"), ce::INVALID_HANDLE_VALUE);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_ACCESS_DENIED);
    EXPECT_EQ(open_port(u"COM9:"), ce::INVALID_HANDLE_VALUE);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_FILE_NOT_FOUND);
    ce::CloseHandle(first);
}

TEST_F(HostCallsTest, CommStateKeepsValidSettingsAndRefusesOthers) {
    ce::HANDLE port = open_port(u"COM3:");
    ASSERT_NE(port, ce::INVALID_HANDLE_VALUE);
    ce::COMMTIMEOUTS timeouts;
    timeouts.ReadIntervalTimeout = ce::MAXDWORD;
    EXPECT_TRUE(ce::SetCommTimeouts(port, &timeouts));
    ce::COMMTIMEOUTS read_back;
    EXPECT_TRUE(ce::GetCommTimeouts(port, &read_back));
    EXPECT_EQ(read_back.ReadIntervalTimeout, ce::MAXDWORD);

    ce::DCB state;
    ASSERT_TRUE(ce::GetCommState(port, &state));
    state.BaudRate = ce::CBR_2400;
    state.Flags = (state.Flags & ~0x7FFFu) | 0x81;
    state.ByteSize = 8;
    state.Parity = ce::NOPARITY;
    state.StopBits = ce::ONE5STOPBITS;
    EXPECT_TRUE(ce::SetCommState(port, &state));
    ce::DCB bad = state;
    bad.ByteSize = 9;
    EXPECT_FALSE(ce::SetCommState(port, &bad));
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_INVALID_PARAMETER);
    ce::DCB now;
    ASSERT_TRUE(ce::GetCommState(port, &now));
    EXPECT_EQ(now.BaudRate, ce::CBR_2400);
    EXPECT_EQ(now.Flags & 0x7FFF, 0x81u);
    EXPECT_EQ(now.StopBits, ce::ONE5STOPBITS);
    EXPECT_FALSE(ce::EscapeCommFunction(port, 99));
    ce::CloseHandle(port);
    EXPECT_FALSE(ce::GetCommState(port, &now));
}

TEST_F(HostCallsTest, PriorityAndQuantumAreJournaledUntilPutBack) {
    const ce::HANDLE thread = ce::GetCurrentThread();
    const int priority = ce::CeGetThreadPriority(thread);
    const ce::DWORD quantum = ce::CeGetThreadQuantum(thread);
    EXPECT_EQ(priority, 251);
    EXPECT_EQ(quantum, 100u);
    ASSERT_TRUE(ce::CeSetThreadPriority(thread, 1));
    ASSERT_TRUE(ce::CeSetThreadQuantum(thread, 0));
    EXPECT_EQ(ce::CeGetThreadPriority(thread), 1);
    auto& journal = machine().soc().journal();
    EXPECT_THAT(journal.unrestored(), ::testing::UnorderedElementsAre("thread priority", "thread quantum"));
    ce::CeSetThreadPriority(thread, priority);
    ce::CeSetThreadQuantum(thread, quantum);
    EXPECT_TRUE(journal.unrestored().empty());
    EXPECT_FALSE(ce::CeSetThreadPriority(thread, 256));
    EXPECT_FALSE(ce::CeSetThreadPriority(nullptr, 1));
}

TEST_F(HostCallsTest, LedStateIsKeptAndBadRequestsRefused) {
    ce::NLED_SETTINGS_INFO led;
    led.LedNum = 1;
    led.OffOnBlink = 2;
    EXPECT_TRUE(ce::NLedSetDevice(ce::NLED_SETTINGS_INFO_ID, &led));
    EXPECT_EQ(machine().led(1), 2);
    led.LedNum = 7;
    EXPECT_FALSE(ce::NLedSetDevice(ce::NLED_SETTINGS_INFO_ID, &led));
    EXPECT_FALSE(ce::NLedSetDevice(ce::NLED_SETTINGS_INFO_ID, nullptr));
}

TEST_F(HostCallsTest, HeldKeyIsDownUntilItsTimeRunsOut) {
    host::hw::InputState keys(host::Device::current().run_dir());
    EXPECT_EQ(ce::GetAsyncKeyState(0x0D), 0);
    ASSERT_TRUE(keys.hold(0x0D, std::chrono::milliseconds(300)));
    EXPECT_NE(ce::GetAsyncKeyState(0x0D) & 0x8000, 0);
    EXPECT_EQ(ce::GetAsyncKeyState(0x20), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(400));
    EXPECT_EQ(ce::GetAsyncKeyState(0x0D), 0);
}

TEST_F(HostCallsTest, VirtualHoldFollowsTheSocClock) {
    host::hw::InputState::hold_virtual(1, 50'000'000);
    EXPECT_NE(ce::GetAsyncKeyState(1) & 0x8000, 0);
    ASSERT_TRUE(map(0x40A00000).mapped());  // a session: Sleep is virtual
    ce::Sleep(60);
    EXPECT_EQ(ce::GetAsyncKeyState(1), 0);
}

TEST_F(HostCallsTest, PollingAVirtuallyHeldKeyAloneLetsTheHoldEnd) {
    ASSERT_TRUE(map(0x40A00000).mapped());
    host::hw::InputState::hold_virtual(1, 100'000);
    int polls = 0;
    while ((ce::GetAsyncKeyState(1) & 0x8000) != 0 && polls < 1'000'000) ++polls;
    EXPECT_LT(polls, 1'000'000);
    EXPECT_EQ(ce::GetAsyncKeyState(1), 0);
}

TEST_F(HostCallsTest, PeekWithRemoveTakesOnlyTheRangeAsked) {
    ce::mouse_event(ce::MOUSEEVENTF_LEFTDOWN, 10, 20, 0, 0);
    ce::keybd_event(0x41, 0, 0, 0);
    ce::mouse_event(ce::MOUSEEVENTF_LEFTUP, 10, 20, 0, 0);
    EXPECT_NE(ce::GetAsyncKeyState(0x41) & 0x8000, 0);
    ce::keybd_event(0x41, 0, ce::KEYEVENTF_KEYUP, 0);
    EXPECT_EQ(ce::GetAsyncKeyState(0x41), 0);
    ce::MSG msg;
    int stylus = 0;
    while (ce::PeekMessageW(&msg, nullptr, 0x200, 0x201, ce::PM_REMOVE)) ++stylus;
    EXPECT_EQ(stylus, 1);  // the button-up (0x202) is outside the range
    int keys = 0;
    while (ce::PeekMessageW(&msg, nullptr, ce::WM_KEYFIRST, ce::WM_KEYLAST, ce::PM_REMOVE)) ++keys;
    EXPECT_EQ(keys, 2);
    ASSERT_TRUE(ce::PeekMessageW(&msg, nullptr, 0, 0, ce::PM_REMOVE));
    EXPECT_EQ(msg.message, ce::WM_LBUTTONUP);
    EXPECT_FALSE(ce::PeekMessageW(&msg, nullptr, 0, 0, ce::PM_REMOVE));
}

TEST_F(HostCallsTest, CounterRunsOnVirtualTimeInASessionAndRealTimeOutside) {
    ce::LARGE_INTEGER frequency, before, after;
    ASSERT_TRUE(ce::QueryPerformanceFrequency(&frequency));
    EXPECT_EQ(frequency.QuadPart, 3'250'000);
    {
        ASSERT_TRUE(map(0x40A00000).mapped());
        ce::QueryPerformanceCounter(&before);
        const auto wall = std::chrono::steady_clock::now();
        ce::Sleep(2000);  // virtual: returns at once with pacing off
        ce::QueryPerformanceCounter(&after);
        EXPECT_NEAR(static_cast<double>(after.QuadPart - before.QuadPart), 2 * 3'250'000.0, 2);
        EXPECT_LT(std::chrono::steady_clock::now() - wall, std::chrono::milliseconds(1500));
        unmap_all();
    }
    ce::QueryPerformanceCounter(&before);
    ce::Sleep(30);
    ce::QueryPerformanceCounter(&after);
    EXPECT_GE(after.QuadPart - before.QuadPart, 30 * 3250);
}

TEST_F(HostCallsTest, PacingKeepsVirtualTimeBehindTheWallClock) {
    machine().set_pacing(true);
    ASSERT_TRUE(map(0x40A00000).mapped());
    const auto wall = std::chrono::steady_clock::now();
    ce::Sleep(200);
    EXPECT_GE(std::chrono::steady_clock::now() - wall, std::chrono::milliseconds(190));
}

TEST_F(HostCallsTest, ProcessorInformationNeedsItsCodeAndRoom) {
    ce::PROCESSOR_INFO info;
    EXPECT_FALSE(ce::KernelIoControl(0x1234, nullptr, 0, &info, sizeof info, nullptr));
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_NOT_SUPPORTED);
    EXPECT_FALSE(ce::KernelIoControl(ce::IOCTL_PROCESSOR_INFORMATION, nullptr, 0, &info, 100, nullptr));
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_INSUFFICIENT_BUFFER);
}

TEST_F(HostCallsTest, ReadOnlyMappingDropsWrites) {
    const auto timer = map(0x40A00000, 0x602);
    const auto writable = map(0x40A00000);
    writable.write32(0x14, 0x1234);
    timer.write32(0x14, 0x9999);
    EXPECT_EQ(timer.read32(0x14), 0x1234u);
}

}  // namespace

}  // namespace sim_tests
