// LIRC remote files: what a button becomes (checked against timings worked out by hand),
// what bad input gets, and the judgement of LIRC's own decoder: every button of remotes
// of ten protocols, stored in a codebase and run by a macro as an alarm runs it, on every
// processor profile, decodes with irsimreceive as that button, its repeats as repeats.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <set>
#include <sstream>

#include "TempDevice.h"
#include "host/Device.h"
#include "host/hw/Machine.h"
#include "host/hw/ReceiverQueue.h"
#include "irdriver/IrDriverInstance.h"
#include "irlib/card/codebase_writer.h"
#include "irlib/card/database_registry.h"
#include "irlib/irvox/command_list.h"
#include "irlib/irvox/context.h"
#include "signals/LircConfText.h"
#include "signals/SignalFile.h"

namespace {

using handheld::LircConfText;
using handheld::SignalFile;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

const char kNecRemote[] = R"(# an NEC television remote
begin remote
  name  TV
  bits           16
  flags SPACE_ENC|CONST_LENGTH
  header       9000  4500
  one           560  1690
  zero          560   560
  ptrail        560
  repeat       9000  2250
  pre_data_bits  16
  pre_data   0x20DF
  gap        108000
  begin codes
      KEY_POWER    0x10EF
      KEY_MUTE     0x906F
  end codes
end remote
begin remote
  name  Amp
  bits            6
  flags RC5|CONST_LENGTH
  one           889   889
  zero          889   889
  plead         889
  pre_data_bits   8
  pre_data     0xA3
  gap        108344
  toggle_bit      2
  frequency   36000
  begin codes
      KEY_POWER    0x01
  end codes
end remote
)";

TEST(LircRemoteFile, NecButtonIsItsFrameThenItsRepeatCodeEachFilledToTheConstantLength) {
    const auto read = SignalFile::Parse(kNecRemote, "TV/KEY_POWER");
    ASSERT_TRUE(read.signal) << read.error;
    const auto& signal = *read.signal;
    // Header, 32 bits, trailing pulse, gap: 0x20DF10EF has 16 ones (1690 us spaces) and
    // 16 zeros, 67980 us in all, so the gap fills 108000 with 40020.
    ASSERT_EQ(signal.intro.size(), 68u);
    EXPECT_THAT(std::vector<std::int32_t>(signal.intro.begin(), signal.intro.begin() + 8),
                ElementsAre(9000, -4500, 560, -560, 560, -560, 560, -1690));
    EXPECT_EQ(signal.intro[66], 560);
    EXPECT_EQ(signal.intro[67], -40020);
    EXPECT_THAT(signal.repeat, ElementsAre(9000, -2250, 560, -96190));
    EXPECT_EQ(signal.carrier_hz, 38000u);
}

TEST(LircRemoteFile, ShiftEncodedHalvesOfOneLevelJoinAndTheFrameIsItsOwnRepeat) {
    const auto read = SignalFile::Parse(kNecRemote, "Amp/KEY_POWER");
    ASSERT_TRUE(read.signal) << read.error;
    // plead, then 1 0 1 0 0 0 1 1 | 0 0 0 0 0 1: a one is space-pulse, a zero pulse-space.
    EXPECT_TRUE(read.signal->intro.empty());
    EXPECT_THAT(std::vector<std::int32_t>(read.signal->repeat.begin(), read.signal->repeat.begin() + 8),
                ElementsAre(889, -889, 1778, -1778, 1778, -889, 889, -889));
    EXPECT_EQ(read.signal->carrier_hz, 36000u);
    // The next press inverts the second bit sent (toggle_bit 2): 1 1 1 0 0 0 1 1 ...
    ASSERT_TRUE(read.toggled);
    EXPECT_THAT(std::vector<std::int32_t>(read.toggled->repeat.begin(), read.toggled->repeat.begin() + 8),
                ElementsAre(889, -889, 889, -889, 889, -889, 1778, -889));
}

TEST(LircRemoteFile, MinimumRepeatsArePartOfEveryPress) {
    const std::string sony =
        "begin remote\n name S\n bits 12\n flags SPACE_ENC|CONST_LENGTH\n header 2400 600\n one 1200 600\n"
        " zero 600 600\n gap 45000\n min_repeat 2\n frequency 40000\n duty_cycle 33\n begin codes\n  KEY_POWER 0xA90\n end codes\nend remote\n";
    const auto read = SignalFile::Parse(sony, "KEY_POWER");
    ASSERT_TRUE(read.signal) << read.error;
    // 0xA90: 4 ones and 8 zeros after the header, 19800 us; the last bit's space and
    // the gap make one space, to the constant 45000.
    ASSERT_EQ(read.signal->repeat.size(), 26u);
    EXPECT_EQ(read.signal->repeat.back(), -25800);
    // Sony's three frames a press: two in the lead-in, the third the first pass's frame.
    auto twice = read.signal->repeat;
    twice.insert(twice.end(), read.signal->repeat.begin(), read.signal->repeat.end());
    EXPECT_EQ(read.signal->intro, twice);
    EXPECT_EQ(read.signal->duty_percent, 33u);
}

// LIRC's own remote files name some buttons twice; the first is the button.
TEST(LircRemoteFile, ButtonNamedTwiceIsItsFirstCodeWithANote) {
    const auto read = SignalFile::Parse(std::string(kNecRemote).replace(std::string(kNecRemote).find("KEY_MUTE"), 8, "KEY_POWER"),
                                        "TV/KEY_POWER");
    ASSERT_TRUE(read.signal) << read.error;
    EXPECT_EQ(read.signal->intro[67], -40020);
    ASSERT_EQ(read.notes.size(), 1u);
    EXPECT_THAT(read.notes[0], HasSubstr("line 16: a second button named 'KEY_POWER' in remote 'TV'; the first is sent"));
}

struct BadCase {
    const char* name;
    std::string text;
    std::string button;
    std::string error;
};

class LircRemoteFileRefuses : public ::testing::TestWithParam<BadCase> {};

TEST_P(LircRemoteFileRefuses, WithTheLineAndWhy) {
    const BadCase& c = GetParam();
    const auto read = SignalFile::Parse(c.text, c.button);
    ASSERT_FALSE(read.signal);
    EXPECT_THAT(read.error, HasSubstr(c.error));
}

const std::string kHead = "begin remote\n name R\n bits 8\n flags SPACE_ENC\n one 500 1500\n zero 500 500\n";
const std::string kTail = " begin codes\n  KEY_A 0x12\n end codes\nend remote\n";

INSTANTIATE_TEST_SUITE_P(
    Files, LircRemoteFileRefuses,
    ::testing::Values(
        BadCase{"FlagKivoCannotSend", "begin remote\n name R\n flags XMP\n", "KEY_A", "line 3: flag 'XMP'"},
        BadCase{"BlockLeftOpen", kHead + " gap 40000\n begin codes\n  KEY_A 0x12\n", "KEY_A", "ends inside a block"},
        BadCase{"NoGap", kHead + kTail, "KEY_A", "remote 'R' (line 1) gives no gap: it has no timing to send"},
        BadCase{"MoreBitsThanACode", kHead + " gap 40000\n pre_data_bits 60\n" + kTail, "KEY_A", "more than 64 bits"},
        BadCase{"HeaderWithoutItsSpace", kHead + " header 9000\n", "KEY_A", "line 7: header takes a pulse and a space"},
        BadCase{"GapBeyondASecond", kHead + " gap 99999999999999999999\n", "KEY_A", "line 7: gap '99999999999999999999' is not"},
        BadCase{"GapTooLong", kHead + " gap 20000000\n", "KEY_A", "line 7: gap 20000000 is out of range"},
        BadCase{"CodeNotANumber", kHead + " gap 40000\n begin codes\n  KEY_A 0xZZ\n", "KEY_A", "line 9: code '0xZZ'"},
        BadCase{"ButtonAbsent", kHead + " gap 40000\n" + kTail, "KEY_B", "no button 'KEY_B'"},
        BadCase{"ButtonNotNamed", kHead + " gap 40000\n" + kTail, "", "pick a button with --button"},
        BadCase{"ButtonOnTwoRemotes", std::string(kNecRemote), "KEY_POWER", "give it as REMOTE/BUTTON"},
        BadCase{"WordsAfterTheLastRemote", kHead + " gap 40000\n" + kTail + "junk\n", "KEY_A", "line 12: expected 'begin remote'"},
        BadCase{"RawCodeOfNothing", "begin remote\n name R\n flags RAW_CODES\n gap 40000\n begin raw_codes\n  name KEY_A\n end raw_codes\nend remote\n",
                "KEY_A", "line 7: raw code 'KEY_A' has no durations"},
        BadCase{"DoubledBitsBeyondASecond", "begin remote\n name R\n bits 8\n flags RC6\n one 999999 999999\n zero 999999 999999\n gap 40000\n" + kTail,
                "KEY_A", "sends a duration of"}),
    [](const auto& row) { return std::string(row.param.name); });

// ---- Judged by LIRC --------------------------------------------------------------------

const std::filesystem::path kRemotes = "/usr/share/lirc/remotes";

std::string file_text(const std::filesystem::path& path) {
    std::ifstream file(path);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// The first remote of a file: files of several remotes share codes between them, which
// LIRC decodes as the first remote's.
std::string first_remote(const std::filesystem::path& path) {
    std::string text = file_text(path);
    const std::size_t end = text.find("end remote");
    return end == std::string::npos ? std::string() : text.substr(0, end) + "end remote\n";
}

// One of LIRC's generic protocol files, which list no buttons, with these codes.
std::string with_codes(const std::string& generic, const std::string& codes) {
    std::string text = file_text(kRemotes / "generic" / generic);
    const std::size_t at = text.find("begin codes");
    return at == std::string::npos ? std::string() : text.insert(text.find('\n', at) + 1, codes);
}

struct JudgedRemote {
    const char* name;
    std::string text;
    // What irsimreceive decodes for each button sent with repeat:2 (two passes): the
    // press and its repeats, as the remote sends them while held.
    int decodes;
};

void PrintTo(const JudgedRemote& remote, std::ostream* out) { *out << remote.name; }

std::vector<JudgedRemote> judged_remotes() {
    // A remote that sends raw codes, at 36.7 kHz: two buttons of RC5 timing.
    const std::string raw =
        "begin remote\n  name RAW_367\n  flags RAW_CODES|CONST_LENGTH\n  eps 30\n  aeps 100\n  gap 114000\n  frequency 36700\n"
        "  begin raw_codes\n    name KEY_POWER\n      889 889 1778 1778 1778 889 889 1778 889 889 889 889 889 889 889\n"
        "      889 1778\n    name KEY_MUTE\n      889 889 1778 1778 1778 889 889 1778 889 889 889 889 889 889 1778\n"
        "      1778 889\n  end raw_codes\nend remote\n";
    return {
        {"NecWithRepeatCode", first_remote(kRemotes / "leadtek/lircd.conf.RM-0010"), 3},
        {"NecWithoutRepeatCode", with_codes("NEC.conf", "  KEY_POWER 0x00FF\n  KEY_1 0x807F\n  KEY_2 0x40BF\n"), 2},
        {"Rc5WithToggle", first_remote(kRemotes / "streamzap/lircd.conf.streamzap"), 2},
        {"Rc5AsShiftEncoding", first_remote(kRemotes / "hauppauge/lircd.conf.hauppauge"), 2},
        {"Rc6Mode6A", first_remote(kRemotes / "mceusb/lircd.conf.mceusb"), 2},
        {"Sony12At40k", with_codes("SONY12.conf", "  KEY_POWER 0x54\n  KEY_VOLUMEUP 0x24\n  KEY_1 0x00\n"), 4},
        {"Rcmm", with_codes("RCMM-32.conf", "  KEY_POWER 0x2E1B5C0C\n  KEY_OK 0x2E1B5C25\n"), 2},
        {"Recs80", with_codes("RECS80.conf", "  KEY_POWER 0x0C\n  KEY_1 0x01\n"), 2},
        {"Denon", with_codes("DENON.conf", "  KEY_POWER 0x220C\n  KEY_MUTE 0x221A\n"), 2},
        {"Raw367", raw, 2},
    };
}

const char* const kProfiles[] = {"sa1110", "pxa250", "pxa255", "pxa26x", "pxa270", "s3c2410", "s3c2440", "omap1510", "omap850"};

class JudgedByLirc : public testing_support::TempDevice,
                     public ::testing::WithParamInterface<std::tuple<const char*, JudgedRemote>> {
protected:
    void TearDown() override {
        ReleaseIrDriver();
        TempDevice::TearDown();
    }

    // The handheld on `profile`, run as fast as it goes, for a remote whose file is there.
    void use(const char* profile, const JudgedRemote& remote) {
        ASSERT_FALSE(remote.text.empty()) << "the remote file is missing (Debian package lirc-compat-remotes)";
        ASSERT_TRUE(host::Device::current().database().set_setting("device.profile", profile));
        ASSERT_TRUE(host::Device::current().database().set_setting(host::hw::kPacingSetting, "off"));
        host::Device::select(device_root());
    }

    // The driver, on the profile's infrared port.
    static CIrDrvr* driver_on_infrared_port() {
        CIrDrvr* driver = GetIrDriver();
        if (driver == nullptr) return nullptr;
        for (const auto& port : host::hw::Machine::current().profile().ports)
            if (port.key.find(u"IrDA") != std::u16string_view::npos) driver->SetPortName(std::u16string(port.name).c_str());
        return driver;
    }

    static std::string run(const std::string& command) {
        std::string output;
        if (FILE* pipe = popen(command.c_str(), "r")) {
            char chunk[4096];
            while (std::size_t got = std::fread(chunk, 1, sizeof chunk, pipe)) output.append(chunk, got);
            pclose(pipe);
        }
        return output;
    }
};

// ir.log's blocks as the timing file irsimreceive reads: a space first, no carrier or
// comment lines, each transmission after a space of 200 ms.
std::string receiver_input(const std::filesystem::path& log) {
    std::string out;
    std::int64_t space = 200'000;
    std::istringstream lines(file_text(log));
    for (std::string word; lines >> word;) {
        if (word == "#") {
            std::string rest;
            std::getline(lines, rest);
            space += 200'000;
            continue;
        }
        std::int64_t us = 0;
        lines >> us;
        if (word == "space") space += us;
        if (word != "pulse") continue;
        out += "space " + std::to_string(space) + "\npulse " + std::to_string(us) + "\n";
        space = 0;
    }
    return out + "space " + std::to_string(space + 200'000) + "\n";
}

TEST_P(JudgedByLirc, EveryButtonOfTheRemoteRunByAnAlarmsMacroDecodesAsItselfWithItsRepeats) {
    if (std::system("command -v irsimreceive >/dev/null") != 0) GTEST_SKIP() << "irsimreceive (Debian package lirc) is missing";
    const auto& [profile, remote] = GetParam();
    ASSERT_NO_FATAL_FAILURE(use(profile, remote));

    const auto remotes = LircConfText::Read(remote.text);
    ASSERT_EQ(remotes.error, "");
    // Every button into one codebase, and the alarm's macro sending each in turn.
    std::filesystem::create_directories(host_path("Alarms"));
    auto& registry = platform::card::database_registry::instance();
    registry.set_codebase_folder(u"\\Alarms");
    const std::uint8_t header[4] = {};
    ASSERT_EQ(registry.create_codebase("lirc", header), 0);
    auto writer = std::make_unique<platform::card::codebase_writer>();
    ASSERT_EQ(writer->open("lirc"), 0);
    irvox::command_list macro;
    std::vector<std::string> expected;
    for (const auto& each : remotes.remotes) {
        std::set<std::vector<std::uint64_t>> codes;
        for (const auto& button : each.buttons) {
            // A second name for a code already sent decodes, rightly, as the first.
            if (!button.codes.empty() && !codes.insert(button.codes).second) continue;
            const std::string name = "B" + std::to_string(expected.size());
            const auto read = SignalFile::Parse(remote.text, each.name + "/" + button.name);
            ASSERT_TRUE(read.signal) << read.error;
            ASSERT_EQ(writer->put_signal(name, {read.signal->durations(), static_cast<std::uint16_t>(read.signal->intro.size()),
                                               read.signal->carrier_us()}, true), 0) << button.name;
            macro.add_reference(name.c_str(), 2, -1, nullptr, nullptr);
            for (int k = 0; k < remote.decodes; ++k) {
                char repeat[16];
                std::snprintf(repeat, sizeof repeat, "%02x", k);
                expected.push_back(std::string(repeat) + " " + button.name + " " + each.name);
            }
        }
    }
    ASSERT_EQ(macro.serialise_macro("Alarm"), 0);
    ASSERT_EQ(writer->put_macro("Alarm", macro.record()), 0);
    ASSERT_EQ(writer->commit(), 0);
    writer.reset();

    CIrDrvr* driver = driver_on_infrared_port();
    ASSERT_NE(driver, nullptr);
    {
        irvox::context alarm;
        alarm.select_codebase("lirc");
        alarm.load_macro_record("Alarm");
        alarm.run_macro(1, true);
        ASSERT_EQ(alarm.state(), irvox::context::kOk) << alarm.code();
    }

    const std::filesystem::path conf = device_root() / "remote.conf", timing = device_root() / "timing.txt";
    // irsimreceive wants a file that does not begin with a comment.
    std::ofstream(conf) << " \n" << remote.text;
    std::ofstream(timing) << receiver_input(host::hw::Machine::current().trace_log());
    std::vector<std::string> decoded;
    std::istringstream lines(run("cd '" + device_root().string() + "' && XDG_CACHE_HOME=. irsimreceive '" + conf.string() + "' '" +
                                 timing.string() + "' 2>&1"));
    for (std::string line; std::getline(lines, line);)
        if (const std::size_t space = line.find(' '); space != std::string::npos) decoded.push_back(line.substr(space + 1));
    EXPECT_EQ(decoded, expected);
}

INSTANTIATE_TEST_SUITE_P(Remotes, JudgedByLirc, ::testing::Combine(::testing::ValuesIn(kProfiles), ::testing::ValuesIn(judged_remotes())),
                         [](const auto& row) {
                             return std::string(std::get<0>(row.param)) + "_" + std::get<1>(row.param).name;
                         });

// Learning a button of these remotes, pressed and held at the receiver: every learned
// pulse and space is within half a carrier period plus 2 % of the pressed one (RECS80's
// 141 us pulses the hardest), and the carrier is the pressed one's period to the nearest
// whole microsecond, as the signal records keep it (within 1 % where one is that near).
class LearnedAtTheCarriersLimit : public JudgedByLirc {};

TEST_P(LearnedAtTheCarriersLimit, PulsesWithinHalfAPeriodAndTheCarrierToTheMicrosecond) {
    const auto& [profile, remote] = GetParam();
    ASSERT_NO_FATAL_FAILURE(use(profile, remote));
    const auto remotes = LircConfText::Read(remote.text);
    ASSERT_EQ(remotes.error, "");
    const auto& first = remotes.remotes.front();
    const auto pressed = first.signal(first.buttons.front());
    sim::InfraredPress press{pressed.intro, pressed.repeat, pressed.carrier_hz, pressed.duty_percent, 100'000'000, 500'000'000};
    ASSERT_TRUE(host::hw::ReceiverQueue(host::Device::current().run_dir()).put(press));

    CIrDrvr* driver = driver_on_infrared_port();
    ASSERT_NE(driver, nullptr);
    ASSERT_EQ(driver->Learn(), 0);
    std::unique_ptr<std::int32_t[]> learned;
    std::uint16_t count = 0, repeat_start = 0, carrier = 0;
    driver->GetLearnedSignal(learned, count, repeat_start, carrier);

    const double period_us = 1e6 / pressed.carrier_hz;
    EXPECT_EQ(carrier, static_cast<std::uint16_t>(std::lround(period_us)));
    std::vector<std::int32_t> played = pressed.intro;
    while (played.size() < count) played.insert(played.end(), pressed.repeat.begin(), pressed.repeat.end());
    // Learning keeps one frame of a button whose frames are all alike.
    ASSERT_GE(count, pressed.repeat.size());
    for (std::uint16_t k = 0; k < count; ++k) {
        const double want = std::abs(played[k]);
        EXPECT_NEAR(std::abs(learned[k]), want, period_us / 2 + 0.02 * want) << "entry " << k;
    }
}

std::vector<JudgedRemote> learned_remotes() {
    std::vector<JudgedRemote> some;
    for (const char* name : {"NecWithRepeatCode", "Rc6Mode6A", "Sony12At40k", "Rcmm", "Recs80", "Denon", "Raw367"})
        for (auto& remote : judged_remotes())
            if (remote.name == std::string_view(name)) some.push_back(remote);
    return some;
}

INSTANTIATE_TEST_SUITE_P(Remotes, LearnedAtTheCarriersLimit,
                         ::testing::Combine(::testing::ValuesIn(kProfiles), ::testing::ValuesIn(learned_remotes())),
                         [](const auto& row) {
                             return std::string(std::get<0>(row.param)) + "_" + std::get<1>(row.param).name;
                         });

}  // namespace
