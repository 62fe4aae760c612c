// The signal files the tool reads (mode2, Pronto hex, IR signals files): what each
// yields, what bad input gets, and the whole infrared path for each: a press played into
// the receiver, learned, set, sent and decoded from the LED trace.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>

#include "irdriver/IrDriverInstance.h"
#include "TempDevice.h"
#include "host/Device.h"
#include "host/hw/Machine.h"
#include "host/hw/ReceiverQueue.h"
#include "signals/SignalFile.h"

namespace {

using handheld::SignalFile;
using ::testing::HasSubstr;

const char kNecPronto[] =
    "0000 006D 0022 0002 0157 00AC 0015 0016 0015 0016 0015 0041 0015 0016 0015 0016 0015 0016 0015 0016 "
    "0015 0016 0015 0041 0015 0041 0015 0016 0015 0041 0015 0041 0015 0041 0015 0041 0015 0041 0015 0016 "
    "0015 0016 0015 0016 0015 0041 0015 0016 0015 0016 0015 0016 0015 0016 0015 0041 0015 0041 0015 0041 "
    "0015 0016 0015 0041 0015 0041 0015 0041 0015 0041 0015 0689 0157 0056 0015 0E94\n";

const char kRemoteIr[] =
    "Filetype: IR signals file\nVersion: 1\n#\nname: Power\ntype: raw\nfrequency: 36000\nduty_cycle: 0.330000\n"
    "data: 2400 600 1200 600 600 600 1200 600 600 600 600 25000\n#\nname: Vol_up\ntype: parsed\nprotocol: NEC\n"
    "address: 04 00 00 00\ncommand: 02 00 00 00\n#\nname: Mute\ntype: raw\nfrequency: 40000\ndata: 889 889 1778\n";

struct ReadCase {
    const char* name;
    std::string text;
    std::string button;
    // Read: lead-in and frame sizes, the frame's first entry, carrier; or the error.
    std::size_t intro, repeat;
    std::int32_t first;
    std::uint32_t carrier_hz;
    std::string error_or_note;
};

class SignalFileRead : public ::testing::TestWithParam<ReadCase> {};

TEST_P(SignalFileRead, YieldsTheSignalOrSaysWhy) {
    const ReadCase& c = GetParam();
    const auto read = SignalFile::Parse(c.text, c.button);
    if (c.carrier_hz == 0) {
        ASSERT_FALSE(read.signal);
        EXPECT_THAT(read.error, HasSubstr(c.error_or_note));
        for (const char byte : read.error) EXPECT_TRUE(byte >= 0x20 && byte < 0x7F) << read.error;
        return;
    }
    ASSERT_TRUE(read.signal) << read.error;
    EXPECT_EQ(read.signal->intro.size(), c.intro);
    EXPECT_EQ(read.signal->repeat.size(), c.repeat);
    EXPECT_EQ(read.signal->repeat.front(), c.first);
    EXPECT_EQ(read.signal->carrier_hz, c.carrier_hz);
    std::string notes;
    for (const auto& note : read.notes) notes += note + "\n";
    EXPECT_THAT(notes, HasSubstr(c.error_or_note));
}

INSTANTIATE_TEST_SUITE_P(
    Files, SignalFileRead,
    ::testing::Values(
        ReadCase{"Mode2", "# hi\ncarrier 36000\npulse 889\nspace 889\npulse 1778\n", "", 0, 3, 889, 36000, ""},
        ReadCase{"Mode2WithoutCarrierIsRead38k", "pulse 500\nspace 500\npulse 500\n", "", 0, 3, 500, 38000, "38000 Hz assumed"},
        ReadCase{"Mode2LeadingSpaceDropped", "space 16777215\npulse 500\nspace 700\nspace 300\npulse 500\n", "", 0, 3, 500,
                 38000, "leading space of 16777215"},
        ReadCase{"Mode2ZeroPulse", "carrier 38000\npulse 0\n", "", 0, 0, 0, 0, "line 2: a duration of 0"},
        ReadCase{"Mode2ZeroSpace", "carrier 38000\npulse 500\nspace 0\npulse 500\n", "", 0, 0, 0, 0, "line 3: a duration of 0"},
        ReadCase{"Mode2HugePulse", "carrier 38000\npulse 2147483647\n", "", 0, 0, 0, 0, "at most 1000000 us"},
        ReadCase{"Mode2TenMegahertz", "carrier 10000000\npulse 500\n", "", 0, 0, 0, 0, "carrier of 10000000 Hz"},
        ReadCase{"BinaryGarbageIsQuoted", std::string("\x7f" "ELF\x01\x02\xff\n", 8), "", 0, 0, 0, 0, "\\x7F"},
        ReadCase{"ProntoLeadInAndFrame", kNecPronto, "", 68, 4, 9019, 38029, ""},
        ReadCase{"ProntoShortOfWords", "0000 006D 0001 0001 0157 00AC\n", "", 0, 0, 0, 0, "2 burst pairs"},
        ReadCase{"ProntoOtherKind", "0100 006D 0001 0000 0157 00AC\n", "", 0, 0, 0, 0, "only learned codes"},
        ReadCase{"IrButtonPicked", kRemoteIr, "Mute", 0, 3, 889, 40000, ""},
        ReadCase{"IrNeedsAButtonAmongMany", kRemoteIr, "", 0, 0, 0, 0, "'Power', 'Vol_up', 'Mute'): pick one"},
        ReadCase{"IrParsedSignal", kRemoteIr, "Vol_up", 0, 0, 0, 0, "protocol 'NEC'"},
        ReadCase{"IrUnknownButton", kRemoteIr, "Play", 0, 0, 0, 0, "no signal named 'Play'"},
        ReadCase{"ButtonOnAMode2File", "carrier 38000\npulse 500\n", "Power", 0, 0, 0, 0, "not one"}),
    [](const auto& row) { return std::string(row.param.name); });

// Learned from a press, set, sent once and decoded: every mark and space of what was
// played comes back within this much (two carrier periods and the trace's rounding).
constexpr double kRoundTripBoundUs = 60;

class SignalRoundTrip : public testing_support::TempDevice, public ::testing::WithParamInterface<const char*> {
protected:
    void TearDown() override {
        ReleaseIrDriver();
        TempDevice::TearDown();
    }
};

TEST_P(SignalRoundTrip, LearnedSignalIsSentAsPlayed) {
    auto& database = host::Device::current().database();
    ASSERT_TRUE(database.set_setting("device.profile", "pxa270"));
    ASSERT_TRUE(database.set_setting(host::hw::kPacingSetting, "off"));
    host::Device::select(device_root());
    auto read = SignalFile::Parse(GetParam(), std::string(GetParam()).find("Filetype") == 0 ? "Power" : "");
    ASSERT_TRUE(read.signal) << read.error;
    auto& signal = *read.signal;
    signal.close_frame();
    sim::InfraredPress press{signal.intro, signal.repeat, signal.carrier_hz, signal.duty_percent, 200'000'000, 400'000'000};
    ASSERT_TRUE(host::hw::ReceiverQueue(host::Device::current().run_dir()).put(press));

    CIrDrvr* driver = GetIrDriver();
    driver->SetPortName(u"COM3:");
    ASSERT_EQ(driver->Learn(), 0);
    std::unique_ptr<std::int32_t[]> learned;
    std::uint16_t count = 0, repeat_start = 0, carrier = 0;
    driver->GetLearnedSignal(learned, count, repeat_start, carrier);
    // The capture measures whole microseconds, rounding down.
    EXPECT_NEAR(carrier, signal.carrier_us(), 1);
    EXPECT_EQ(repeat_start, signal.intro.size());
    ASSERT_EQ(driver->SetSignal(learned.get(), count, repeat_start, carrier), 0);
    ASSERT_EQ(driver->Send(1, 0), 0);
    const auto& trace = host::hw::Machine::current().last_trace();
    ASSERT_TRUE(trace);
    const std::vector<std::int32_t> played = signal.durations();
    ASSERT_GE(trace->segments.size(), played.size() - 1);
    // The last space is the trace's tail, not the signal's: it is left out.
    for (std::size_t k = 0; k + 1 < played.size(); ++k) {
        EXPECT_EQ(trace->segments[k].mark, played[k] > 0) << k;
        EXPECT_NEAR(static_cast<double>(trace->segments[k].ns) / 1000, std::abs(played[k]), kRoundTripBoundUs) << k;
    }
}

INSTANTIATE_TEST_SUITE_P(Inputs, SignalRoundTrip,
                         ::testing::Values("carrier 36000\npulse 2400\nspace 600\npulse 1200\nspace 600\npulse 600\n"
                                           "space 600\npulse 1200\nspace 30000\n",
                                           kNecPronto, kRemoteIr));

}  // namespace
