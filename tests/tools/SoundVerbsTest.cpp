// `handheld play` and `handheld audio` as a person at a terminal uses them, run as real
// processes on a temporary handheld and checked through the capture they leave.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <future>
#include <fstream>
#include <iterator>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "HandheldDeviceTest.h"
#include "host/wave/CaptureLog.h"

namespace {

using ::testing::HasSubstr;
using tool_tests::HandheldResult;
using tool_tests::run_handheld;

const std::filesystem::path kFrontCenter = "/usr/share/sounds/alsa/Front_Center.wav";

std::vector<std::uint8_t> read_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

long milliseconds_of_day(const ce::SYSTEMTIME& t) {
    return ((t.wHour * 60L + t.wMinute) * 60L + t.wSecond) * 1000L + t.wMilliseconds;
}

class SoundVerbs : public tool_tests::HandheldDeviceTest {
protected:
    std::vector<host::CaptureEntry> plays() {
        std::vector<host::CaptureEntry> entries;
        for (const auto& line : host::CaptureLog::lines())
            if (auto entry = host::CaptureLog::parse(line)) entries.push_back(*entry);
        return entries;
    }
};

TEST_F(SoundVerbs, PlaysASoundThreeTimesASecondApartIntoTheCapture) {
    ok({"init"});
    EXPECT_THAT(ok({"status"}), HasSubstr("audio       alsa (default)\n"));
    ok({"audio", "capture"});
    EXPECT_THAT(ok({"status"}), HasSubstr("audio       capture\n"));

    const auto out = ok({"play", kFrontCenter.string(), "--times", "3", "--pause", "1"});
    EXPECT_THAT(out, HasSubstr("(3 of 3)"));
    const auto log = ok({"audio", "log"});
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3) << log;

    const auto entries = plays();
    ASSERT_EQ(entries.size(), 3u);
    const auto source = read_bytes(kFrontCenter);
    const std::vector<std::uint8_t> data(source.begin() + 44, source.end());
    for (std::size_t i = 0; i < entries.size(); ++i) {
        auto captured = read_bytes(host::CaptureLog::folder().parent_path() / entries[i].file);
        ASSERT_GE(captured.size(), 44u);
        EXPECT_EQ(std::vector<std::uint8_t>(captured.begin() + 44, captured.end()), data) << "play " << i;
        if (i == 0) continue;
        EXPECT_GE(milliseconds_of_day(entries[i].start), milliseconds_of_day(entries[i - 1].end) + 950)
            << "a second's pause between plays";
    }
    EXPECT_TRUE(std::filesystem::is_empty(device_root() / "fs" / "Temp")) << "the host file's stand-in is removed";
}

TEST_F(SoundVerbs, PlaysADevicePathAtTheVolumeAsked) {
    ok({"init"});
    ok({"audio", "capture"});
    std::filesystem::create_directories(device_root() / "fs" / "Windows");
    std::filesystem::copy_file(kFrontCenter, device_root() / "fs" / "Windows" / "Alarm1.wav");
    ok({"play", "\\Windows\\Alarm1.wav", "--volume", "5"});
    ASSERT_EQ(plays().size(), 1u);
    EXPECT_EQ(plays()[0].volume, 0x7FFF7FFFu) << "5 x 65535 / 10 on both channels";
    EXPECT_THAT(ok({"audio"}), HasSubstr("volume      0x7FFF7FFF"));
}

TEST_F(SoundVerbs, OneHostFilePlaysOnTwoHandheldsAtOnce) {
    // Each play holds its file unshared; the two handhelds must not hold the same one.
    const auto other = device_root() / "other-handheld";
    ok({"init"});
    ok({"audio", "capture"});
    ASSERT_EQ(run_handheld({"--device", other.string(), "init"}).exit_code, 0);
    ASSERT_EQ(run_handheld({"--device", other.string(), "audio", "null"}).exit_code, 0);

    auto first = std::async(std::launch::async, [&] { return handheld({"play", kFrontCenter.string()}); });
    const auto staged = device_root() / "fs" / "Temp";
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    std::error_code absent;
    while ((std::filesystem::is_empty(staged, absent) || absent) && std::chrono::steady_clock::now() < until)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    const auto second = run_handheld({"--device", other.string(), "play", kFrontCenter.string()});
    EXPECT_EQ(second.exit_code, 0) << second.err;
    const auto played = first.get();
    EXPECT_EQ(played.exit_code, 0) << played.err;
    EXPECT_EQ(plays().size(), 1u);
}

TEST_F(SoundVerbs, AlsaBackEndPlaysThroughTheNamedAlsaDevice) {
    ok({"init"});
    EXPECT_THAT(ok({"audio", "alsa", "null"}), HasSubstr("alsa pcm    null\n"));
    ok({"play", kFrontCenter.string()});
    EXPECT_TRUE(plays().empty());
    ok({"audio", "alsa", "kivo-no-such-device"});
    const auto missing = handheld({"play", kFrontCenter.string()});
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_THAT(missing.err, HasSubstr("(1005)"));
}

TEST_F(SoundVerbs, ReportsFilesItCannotPlay) {
    ok({"init"});
    ok({"audio", "null"});
    const auto text = device_root() / "notes.txt";
    std::ofstream(text) << "not a sound, but long enough to be looked at as one.";
    const auto not_wave = handheld({"play", text.string()});
    EXPECT_EQ(not_wave.exit_code, 1);
    EXPECT_THAT(not_wave.err, HasSubstr("not a usable RIFF WAVE file (1003)"));
    const auto missing = handheld({"play", (device_root() / "none.wav").string()});
    EXPECT_EQ(missing.exit_code, 1);
    const auto device_missing = handheld({"play", "\\none.wav"});
    EXPECT_EQ(device_missing.exit_code, 1);
    EXPECT_THAT(device_missing.err, HasSubstr("(1002)"));
}

struct UsageCase {
    const char* name;
    std::vector<std::string> arguments;
};

void PrintTo(const UsageCase& row, std::ostream* out) { *out << row.name; }

class SoundVerbsUsage : public SoundVerbs, public ::testing::WithParamInterface<UsageCase> {};

TEST_P(SoundVerbsUsage, WrongCommandLinesChangeNothing) {
    ok({"init"});
    const auto result = handheld(GetParam().arguments);
    EXPECT_EQ(result.exit_code, 2) << result.err;
    EXPECT_THAT(ok({"audio"}), HasSubstr("backend     alsa (default)"));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SoundVerbsUsage,
    ::testing::Values(UsageCase{"PlayWithoutFile", {"play"}},
                      UsageCase{"PlayTwoFiles", {"play", "a.wav", "b.wav"}},
                      UsageCase{"ZeroTimes", {"play", "a.wav", "--times", "0"}},
                      UsageCase{"VolumeEleven", {"play", "a.wav", "--volume", "11"}},
                      UsageCase{"NegativePause", {"play", "a.wav", "--pause", "-1"}},
                      UsageCase{"UnknownBackEnd", {"audio", "loud"}},
                      UsageCase{"NullWithDevice", {"audio", "null", "hw:0"}},
                      UsageCase{"LogWithArgument", {"audio", "log", "all"}}),
    [](const auto& row) { return std::string(row.param.name); });

}  // namespace
