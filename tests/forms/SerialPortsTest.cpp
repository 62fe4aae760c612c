// The port KIVO proposes and the port list it shows, over the drivers a handheld lists
// under Drivers\Active and the beam listener's state.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempDevice.h"
#include "ce/Registry.h"
#include "forms/SerialPorts.h"
#include "forms/SignalTestPasses.h"

namespace {

struct Driver {
    const char16_t* name;
    const char16_t* key;  // the driver's key under HKLM; null for none
    const char16_t* friendly;
};

void set_text(const std::u16string& path, const char16_t* value, const char16_t* text) {
    ce::HKEY key = nullptr;
    ASSERT_EQ(ce::RegCreateKeyExW(ce::HKEY_LOCAL_MACHINE, path.c_str(), &key), ce::ERROR_SUCCESS);
    const std::u16string data(text);
    ce::RegSetValueExW(key, value, ce::REG_SZ, reinterpret_cast<const ce::BYTE*>(data.c_str()),
                       static_cast<ce::DWORD>((data.size() + 1) * 2));
    ce::RegCloseKey(key);
}

void add_drivers(const std::vector<Driver>& drivers) {
    int index = 1;
    for (const auto& driver : drivers) {
        const std::u16string active = u"Drivers\\Active\\" + std::u16string(1, static_cast<char16_t>(u'0' + index++));
        set_text(active, u"Name", driver.name);
        if (driver.key == nullptr) continue;
        set_text(active, u"Key", driver.key);
        if (driver.friendly != nullptr) set_text(driver.key, u"FriendlyName", driver.friendly);
    }
}

void set_listener(ce::DWORD state) {
    ce::HKEY key = nullptr;
    ASSERT_EQ(ce::RegCreateKeyExW(ce::HKEY_CURRENT_USER, u"Software\\Microsoft\\Obex\\Settings", &key), ce::ERROR_SUCCESS);
    ce::RegSetValueExW(key, u"ServerState", ce::REG_DWORD, reinterpret_cast<const ce::BYTE*>(&state), sizeof state);
    ce::RegCloseKey(key);
}

struct DetectCase {
    const char* name;
    std::vector<Driver> drivers;
    bool listener_on;
    const char16_t* expected;
};

void PrintTo(const DetectCase& row, std::ostream* out) { *out << row.name; }

class AutoDetect : public testing_support::TempDevice, public ::testing::WithParamInterface<DetectCase> {};

TEST_P(AutoDetect, ProposesThePortTheListenerLeavesFree) {
    add_drivers(GetParam().drivers);
    if (GetParam().listener_on) set_listener(1);
    EXPECT_EQ(SerialPorts::AutoDetectPort(), GetParam().expected);
}

const Driver kIrda2{u"COM2:", u"Drivers\\BuiltIn\\IrDA", u"Infrared Port"};
const Driver kCom5{u"COM5:", u"Drivers\\BuiltIn\\Serial5", u"Serial"};
const Driver kCom3{u"COM3:", u"Drivers\\BuiltIn\\Serial3", u"Serial"};
const Driver kCom1{u"COM1:", u"Drivers\\BuiltIn\\Serial", u"Serial Cable"};
const Driver kWave{u"WAV1:", u"Drivers\\BuiltIn\\WaveDev", u"Audio"};
const Driver kIrdaOn3{u"COM3:", u"Drivers\\BuiltIn\\irda3", u"Raw IR"};

INSTANTIATE_TEST_SUITE_P(
    Handhelds, AutoDetect,
    ::testing::Values(DetectCase{"ListenerOnTakesTheLowestOtherPort", {kIrda2, kCom5, kCom3}, true, u"COM3:"},
                      DetectCase{"ListenerOnPrefersCom1", {kIrda2, kCom5, kCom3, kCom1}, true, u"COM1:"},
                      DetectCase{"ListenerOffWithoutIrdaDriver", {kCom5, kCom3, kWave}, false, u"COM2:"},
                      DetectCase{"ListenerOffTakesTheIrdaPortWhateverItsCase", {kCom1, kIrdaOn3}, false, u"COM3:"},
                      DetectCase{"ListenerOnWithOnlyTheIrdaPort", {kIrda2, kWave}, true, u"COM2:"},
                      DetectCase{"NoActiveDriversAtAll", {}, false, u"COM1:"}),
    [](const auto& row) { return std::string(row.param.name); });

using EnumerateSerialPorts = testing_support::TempDevice;

TEST_F(EnumerateSerialPorts, ListsComDriversWithTheirFriendlyNamesAfterAutoDetect) {
    add_drivers({kCom1, kWave, kIrda2, {u"COM7:", u"Drivers\\Gone", nullptr}, {u"COM8:", u"Drivers\\USB", nullptr}});
    // A driver key without a name of its own takes its first subkey's.
    set_text(u"Drivers\\USB\\Instance", u"FriendlyName", u"USB Serial");
    std::vector<std::u16string> list{u"left over"};
    SerialPorts::EnumerateSerialPorts(list);
    EXPECT_EQ(list, (std::vector<std::u16string>{u"<Auto detect>", u"COM1: Serial Cable", u"COM2: Infrared Port",
                                                 u"COM8: USB Serial"}));
    EXPECT_EQ(SerialPorts::DeviceName(list[2]), u"COM2:");
}

struct PassesCase {
    const char* name;
    int repeat_mode, duration_ms;
    std::vector<std::int32_t> durations;
    std::uint16_t repeat_start;
    int passes;
};

void PrintTo(const PassesCase& row, std::ostream* out) { *out << row.name; }

class SignalFormTestPasses : public ::testing::TestWithParam<PassesCase> {};

TEST_P(SignalFormTestPasses, FollowTheRepeatMode) {
    const auto& row = GetParam();
    EXPECT_EQ(SignalTestPasses::For(row.repeat_mode, row.duration_ms, row.durations, row.repeat_start), row.passes);
}

// 150 ms in all, the last 100 ms (from index 2) the repeat frame.
const std::vector<std::int32_t> kSignal{20000, -30000, 40000, -60000};

INSTANTIATE_TEST_SUITE_P(
    Modes, SignalFormTestPasses,
    ::testing::Values(PassesCase{"Default", 3, 1000, kSignal, 2, 3}, PassesCase{"Once", 1, 1000, kSignal, 2, 1},
                      PassesCase{"FiveTimesTestsThree", 5, 1000, kSignal, 2, 3},
                      PassesCase{"ForNineNineSeconds", -2, 9900, kSignal, 2, 99},
                      PassesCase{"ForLessThanTheSignal", -2, 100, kSignal, 2, 1},
                      PassesCase{"ForJustOverTheSignal", -2, 151, kSignal, 2, 2},
                      PassesCase{"NeverMoreThan201", -2, 9900, {500, -500}, 0, 201},
                      PassesCase{"NoRepeatFrameOnePass", -2, 9900, kSignal, 4, 1}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
