// The handheld's infrared port on a stand-in LIRC device, with the real drivers of every
// processor profile above it: what goes out is what log/ir.log records, a press the
// receiver hears is learned as the same press played from a file, and a device that
// cannot be used shows in the driver's result and the logs without losing a block.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

#include "LircStandIn.h"
#include "NecRemote.h"
#include "TempDevice.h"
#include "host/Device.h"
#include "host/hw/Machine.h"
#include "host/hw/ReceiverQueue.h"
#include "host/hw/TraceLog.h"
#include "irdriver/IrDriverInstance.h"

namespace lirc_tests {

namespace {

using ::testing::HasSubstr;

const std::vector<std::string> kProfiles{"sa1110", "pxa250", "pxa255", "pxa26x", "pxa270",
                                         "s3c2410", "s3c2440", "omap1510", "omap850"};

std::u16string infrared_port(const std::string& profile) {
    return profile == "sa1110" || profile == "pxa26x" || profile == "s3c2440" ? u"COM2:" : u"COM3:";
}

using testing_support::kNecRepeat;
using testing_support::nec_intro;

// A held NEC button as a receiver hears it: the frame, four dittos, the last pulse.
std::vector<std::int32_t> held_nec() {
    std::vector<std::int32_t> entries = nec_intro();
    for (int i = 0; i < 4; ++i) entries.insert(entries.end(), kNecRepeat.begin(), kNecRepeat.end());
    entries.insert(entries.end(), kNecRepeat.begin(), kNecRepeat.end() - 1);
    return entries;
}

struct Learned {
    int code = -1;
    std::vector<std::int32_t> durations;
    std::uint16_t repeat_start = 0, carrier = 0;
    bool operator==(const Learned&) const = default;
};

// Said in words when two learnings differ: which duration, not a dump of the object's bytes.
void PrintTo(const Learned& learned, std::ostream* out) {
    *out << "code " << learned.code << ", carrier " << learned.carrier << ", repeat from " << learned.repeat_start
         << ", durations";
    for (const std::int32_t duration : learned.durations) *out << ' ' << duration;
}

// Two learnings of one press: the same code, carrier and repeat, and durations that differ
// by the receiver's microsecond at most. Where a press falls against the processor's
// sampling moves each edge by up to that microsecond, and that depends on when the press
// came in, which a read from a real device settles by the machine's load.
testing::AssertionResult LearnedAlike(const Learned& heard, const Learned& played) {
    Learned rounded = played;
    for (std::size_t i = 0; i < std::min(heard.durations.size(), played.durations.size()); ++i)
        if (std::abs(heard.durations[i] - played.durations[i]) <= 1) rounded.durations[i] = heard.durations[i];
    if (heard == rounded) return testing::AssertionSuccess();
    return testing::AssertionFailure() << "heard: " << testing::PrintToString(heard)
                                       << "\nplayed from a file: " << testing::PrintToString(played);
}

// The values of an ir.log block, pulse first, without its trailing space.
std::vector<std::uint32_t> logged_values(const std::string& block, std::uint32_t& carrier_hz) {
    std::vector<std::uint32_t> values;
    std::istringstream in(block);
    for (std::string word; in >> word;) {
        if (word == "#") {
            std::getline(in, word);
            continue;
        }
        std::uint32_t number = 0;
        in >> number;
        if (word == "carrier") carrier_hz = number;
        else values.push_back(number);
    }
    if (values.size() % 2 == 0 && !values.empty()) values.pop_back();
    return values;
}

std::string text_of(const std::filesystem::path& path) {
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

}  // namespace

class LircBridgeTest : public testing_support::TempDevice {
protected:
    static constexpr const char* kDevice = "/dev/lirc0";

    void TearDown() override {
        ReleaseIrDriver();
        machine().infrared_port().use_calls(host::hw::LircCalls::system());
        TempDevice::TearDown();
    }
    host::hw::Machine& machine() { return host::hw::Machine::current(); }

    void use(const std::string& profile, const std::string& port) {
        ReleaseIrDriver();
        auto& database = host::Device::current().database();
        ASSERT_TRUE(database.set_setting("device.profile", profile));
        ASSERT_TRUE(database.set_setting(host::hw::kPacingSetting, "off"));
        ASSERT_TRUE(database.set_setting("ir.port", port));
        host::Device::select(device_root());
        // A real port keeps to the wall clock whatever the setting; the tests need not.
        EXPECT_EQ(machine().pacing(), port != "sim");
        machine().infrared_port().use_calls(lirc_);
        machine().set_pacing(false);
    }

    int send_nec(const std::string& profile, std::uint16_t passes) {
        CIrDrvr* driver = GetIrDriver();
        if (driver == nullptr) return -1;
        driver->SetPortName(infrared_port(profile).c_str());
        std::vector<std::int32_t> signal = nec_intro();
        signal.insert(signal.end(), kNecRepeat.begin(), kNecRepeat.end());
        int code = driver->SetSignal(signal.data(), static_cast<std::uint16_t>(signal.size()), 68, 26);
        if (code == 0) code = driver->Send(passes, 0);
        ReleaseIrDriver();
        return code;
    }

    Learned learn(const std::string& profile) {
        Learned learned;
        CIrDrvr* driver = GetIrDriver();
        if (driver == nullptr) return learned;
        driver->SetPortName(infrared_port(profile).c_str());
        learned.code = driver->Learn();
        std::unique_ptr<std::int32_t[]> durations;
        std::uint16_t count = 0;
        driver->GetLearnedSignal(durations, count, learned.repeat_start, learned.carrier);
        learned.durations.assign(durations.get(), durations.get() + count);
        ReleaseIrDriver();
        return learned;
    }

    std::string last_block() { return host::hw::TraceLog(machine().trace_log()).blocks().back(); }
    std::string lirc_log() { return text_of(host::Device::current().log_dir() / "lirc.log"); }

    LircStandIn lirc_;
};

class LircEveryProfile : public LircBridgeTest, public ::testing::WithParamInterface<std::string> {};

TEST_P(LircEveryProfile, WhatIsWrittenIsTheTraceTheLogRecords) {
    use(GetParam(), std::string("lirc ") + kDevice);
    StandInDevice& device = lirc_.add(kDevice, LircStandIn::kTransceiver);
    // Five passes last longer than one write may (500 ms): the transmission is cut.
    ASSERT_EQ(send_nec(GetParam(), 5), 0);

    const std::string block = last_block();
    EXPECT_THAT(block, HasSubstr("# lirc /dev/lirc0: sent "));
    std::uint32_t logged_hz = 0;
    const std::vector<std::uint32_t> logged = logged_values(block, logged_hz);
    ASSERT_GE(device.writes.size(), 2u);
    std::vector<std::uint32_t> written;
    for (std::size_t i = 0; i < device.writes.size(); ++i) {
        const auto& values = device.writes[i];
        EXPECT_EQ(values.size() % 2, 1u) << "write " << i;
        written.insert(written.end(), values.begin(), values.end());
        if (i + 1 < device.writes.size()) {
            std::int64_t lasted = 0;
            for (const std::uint32_t value : values) lasted += value;
            // The space between two writes is the host's wait from the end of one to the next.
            written.push_back(static_cast<std::uint32_t>(
                (device.write_starts_ns[i + 1] - device.write_starts_ns[i]) / 1000 - lasted));
        }
    }
    EXPECT_EQ(written, logged);
    EXPECT_EQ(device.carrier, logged_hz);
    EXPECT_EQ(device.send_mode, std::optional<std::uint32_t>(LIRC_MODE_PULSE));
    ASSERT_TRUE(device.duty.has_value());
    EXPECT_NEAR(*device.duty, std::lround(machine().last_trace()->duty * 100), 0);
    EXPECT_EQ(lirc_.open_count(), 0) << "the device is given back with the registers";
}

// The press is heard when a read brings it, so how long after the listening began it came
// depends on how busy the machine was; played from a file at that same instant, it is
// learned alike.
TEST_P(LircEveryProfile, HeardPressIsLearnedAsThePressPlayedFromAFile) {
    for (const bool measured : {false, true}) {
        SCOPED_TRACE(measured ? "carrier measured" : "carrier assumed");
        const std::uint32_t hz = measured ? 36'000 : 38'000;
        constexpr std::int64_t kAfterNs = 700'000'000;

        use(GetParam(), std::string("lirc ") + kDevice);
        StandInDevice& device =
            lirc_.add(kDevice, LircStandIn::kTransceiver | (measured ? LIRC_CAN_MEASURE_CARRIER : 0u));
        // kAfterNs after the listening starts, on the stand-in's clock.
        device.samples = LircStandIn::heard(held_nec(), lirc_.now_ns() + kAfterNs,
                                            measured ? std::optional(hz) : std::nullopt, 125'000);
        const Learned heard = learn(GetParam());
        ASSERT_EQ(heard.code, 0);
        EXPECT_EQ(device.timeout, std::optional<std::uint32_t>(200'000));
        EXPECT_EQ(device.rec_mode, std::optional<std::uint32_t>(LIRC_MODE_MODE2));
        const auto report = machine().infrared_port().last_heard();
        ASSERT_TRUE(report.has_value() && report->press.has_value());
        EXPECT_THAT(report->text, HasSubstr(measured ? "carrier 36000 Hz measured by the receiver"
                                                     : "carrier 38000 Hz assumed (the receiver measures none)"));
        EXPECT_THAT(lirc_log(), HasSubstr(report->text));

        use(GetParam(), "sim");
        sim::InfraredPress played;
        played.intro = held_nec();
        played.carrier_hz = hz;
        played.after_ns = report->press->after_ns;
        ASSERT_TRUE(host::hw::ReceiverQueue(host::Device::current().run_dir()).put(played));
        EXPECT_TRUE(LearnedAlike(heard, learn(GetParam())));
    }
}

INSTANTIATE_TEST_SUITE_P(Profiles, LircEveryProfile, ::testing::ValuesIn(kProfiles),
                         [](const auto& row) { return row.param; });

TEST_F(LircBridgeTest, DeviceThatCannotBeOpenedFailsThePortOpenWithTheDriversCode) {
    // The PXA27x opens its infrared serial port for every signal.
    use("pxa270", "lirc /dev/lirc9");
    EXPECT_EQ(send_nec("pxa270", 1), 13);
    EXPECT_THAT(lirc_log(), HasSubstr("cannot use the infrared port: /dev/lirc9: no such device"));
    EXPECT_THAT(machine().infrared_port().last_event(), HasSubstr("no such device"));
}

TEST_F(LircBridgeTest, FailedWriteIsLoggedWithTheTransmissionWhichIsKept) {
    // The PXA250 boots with its infrared UART set: the driver opens no port and beams.
    use("pxa250", std::string("lirc ") + kDevice);
    lirc_.add(kDevice, LircStandIn::kTransceiver).write_error = EIO;
    EXPECT_EQ(send_nec("pxa250", 1), 0);
    const std::string block = last_block();
    EXPECT_THAT(block, HasSubstr("# lirc /dev/lirc0: not sent: write 1 of 1 failed (/dev/lirc0: Input/output error)"));
    EXPECT_THAT(block, HasSubstr("pulse 9"));
    EXPECT_THAT(lirc_log(), HasSubstr("not sent"));
}

TEST_F(LircBridgeTest, CarrierTheDeviceCannotSetIsSentAtItsOwnAndSaidSo) {
    use("pxa270", std::string("lirc ") + kDevice);
    StandInDevice& device = lirc_.add(kDevice, LircStandIn::kTransceiver);
    device.highest_carrier = 30'000;
    ASSERT_EQ(send_nec("pxa270", 1), 0);
    EXPECT_THAT(last_block(), HasSubstr(" Hz refused (EINVAL: the device cannot), sent at the device's own"));
    EXPECT_EQ(device.writes.size(), 1u);
    EXPECT_FALSE(device.carrier.has_value());
}

TEST_F(LircBridgeTest, PulseLongerThanAWriteMayLastIsNotSent) {
    use("pxa270", std::string("lirc ") + kDevice);
    StandInDevice& device = lirc_.add(kDevice, LircStandIn::kTransceiver);
    CIrDrvr* driver = GetIrDriver();
    ASSERT_NE(driver, nullptr);
    driver->SetPortName(u"COM3:");
    const std::int32_t signal[] = {600'000, -20'000, 560};
    ASSERT_EQ(driver->SetSignal(signal, 3, 0, 26), 0);
    ASSERT_EQ(driver->Send(1, 0), 0);
    ReleaseIrDriver();
    EXPECT_THAT(last_block(), HasSubstr("not sent: a pulse of 60"));
    EXPECT_TRUE(device.writes.empty());
}

TEST_F(LircBridgeTest, NothingHeardTimesOutAsTheFamilyDoesAndSaysSo) {
    use("pxa270", std::string("lirc ") + kDevice);
    lirc_.add(kDevice, LircStandIn::kTransceiver);
    EXPECT_EQ(learn("pxa270").code, 17);
    EXPECT_THAT(machine().infrared_port().last_heard()->text, HasSubstr("/dev/lirc0: nothing heard within 19.8 s"));
}

TEST_F(LircBridgeTest, SeparateReceiverIsWhatLearningHears) {
    use("pxa270", "lirc /dev/lirc0 /dev/lirc1");
    lirc_.add("/dev/lirc0", LIRC_CAN_SEND_PULSE);
    lirc_.add("/dev/lirc1", LIRC_CAN_REC_MODE2).samples =
        LircStandIn::heard(held_nec(), lirc_.now_ns(), std::nullopt, 125'000);
    const Learned learned = learn("pxa270");
    EXPECT_EQ(learned.code, 0);
    EXPECT_EQ(learned.carrier, 26);
    EXPECT_EQ(learned.repeat_start, 68);
    // Without a settable carrier or duty cycle the device sends at its own.
    ASSERT_EQ(send_nec("pxa270", 1), 0);
    EXPECT_THAT(last_block(), HasSubstr("values in 1 write, carrier fixed by the device"));
}

}  // namespace lirc_tests
