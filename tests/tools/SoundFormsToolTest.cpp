// Putting sounds on the handheld and choosing one, as a person at a terminal does it:
// `handheld cp` both ways with its errors, then the sound form (in the test program that
// stands in for the alarm form) driven through `ui` verbs: the file chooser, its folder
// tree, a test sound heard on the capture, and the values the form hands back.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <thread>

#include "ChildProcess.h"
#include "HandheldDeviceTest.h"
#include "UiDump.h"
#include "WavFile.h"
#include "host/wave/CaptureLog.h"

namespace {

using ::testing::HasSubstr;

class SoundFormsTool : public tool_tests::HandheldDeviceTest {
protected:
    void SetUp() override {
        HandheldDeviceTest::SetUp();
        ok({"init"});
        ok({"audio", "capture"});
    }
    std::filesystem::path HostFile(const std::string& name, const std::vector<std::uint8_t>& bytes) {
        const auto path = device_root() / name;
        std::ofstream(path, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::string Fails(std::vector<std::string> arguments) {
        const auto result = handheld(std::move(arguments));
        EXPECT_NE(result.exit_code, 0) << result.out;
        return result.err;
    }
    // Waits until `ui dump` of the foreground window holds `text`; the dump then.
    std::string Shows(const std::string& text) {
        std::string dump;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            dump = handheld({"ui", "dump"}).out;
            if (dump.find(text) != std::string::npos) return dump;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        ADD_FAILURE() << "never shown: " << text << "\n" << dump;
        return dump;
    }
};

std::vector<std::uint8_t> sound(std::size_t bytes, std::uint32_t seed) {
    testing_support::WavSpec spec;
    spec.data = testing_support::pattern_bytes(bytes, seed);
    return testing_support::wav_bytes(spec);
}

std::vector<std::uint8_t> read_bytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST_F(SoundFormsTool, CopiesFilesOntoTheHandheldAndOffItAndSaysWhatIsWrong) {
    const auto ring = HostFile("ring.wav", sound(2000, 1));
    EXPECT_EQ(ok({"cp", ring.string(), "\\My Documents"}), "\\My Documents\\ring.wav\n");
    EXPECT_EQ(read_bytes(host_path("My Documents/ring.wav")), read_bytes(ring));
    EXPECT_EQ(ok({"cp", ring.string(), "\\my documents\\Wake up.wav"}), "\\my documents\\Wake up.wav\n");
    EXPECT_THAT(ok({"ls", "\\My Documents"}), HasSubstr("----a       2044  Wake up.wav"))
        << "a new file on the handheld, archive set";

    const auto back = device_root() / "back";
    std::filesystem::create_directories(back);
    ok({"cp", "\\My Documents\\Wake up.wav", back.string()});
    EXPECT_EQ(read_bytes(back / "Wake up.wav"), read_bytes(ring));

    EXPECT_THAT(Fails({"cp", (device_root() / "missing.wav").string(), "\\My Documents"}), HasSubstr("no such file here"));
    EXPECT_THAT(Fails({"cp", ring.string(), "\\Nowhere\\ring.wav"}), HasSubstr("\\Nowhere: no such folder on the handheld"));
    EXPECT_THAT(Fails({"cp", ring.string(), "\\My Documents\\..\\..\\..\\ring.wav"}), HasSubstr("cannot leave the handheld"));
    EXPECT_THAT(Fails({"cp", "\\My Documents\\gone.wav", back.string()}), HasSubstr("no such file on the handheld"));
    EXPECT_THAT(Fails({"cp", "\\My Documents\\ring.wav", (back / "none" / "x.wav").string()}), HasSubstr("no such folder here"));
    EXPECT_THAT(Fails({"cp", ring.string(), back.string()}), HasSubstr("must be a device path"));

    // A file whose reading fails half-way (a storage card taken out): no part of it passes
    // for the whole.
    HostFile("unreadable.wav", sound(200'000, 4));
    ok({"cp", (device_root() / "unreadable.wav").string(), "\\My Documents"});
    const char* asan = std::getenv("ASAN_OPTIONS");
    const std::string asan_before = asan != nullptr ? asan : "";
    setenv("LD_PRELOAD", FAILING_READ, 1);
    setenv("ASAN_OPTIONS", (asan_before + (asan_before.empty() ? "" : ":") + "verify_asan_link_order=0").c_str(), 1);
    const std::string refused = Fails({"cp", "\\My Documents\\unreadable.wav", back.string()});
    unsetenv("LD_PRELOAD");
    if (asan != nullptr) setenv("ASAN_OPTIONS", asan_before.c_str(), 1);
    else unsetenv("ASAN_OPTIONS");
    EXPECT_THAT(refused, HasSubstr("\\My Documents\\unreadable.wav: reading failed"));
    EXPECT_FALSE(std::filesystem::exists(back / "unreadable.wav"));
    EXPECT_FALSE(std::filesystem::exists(device_root() / ".." / "ring.wav"));
}

TEST_F(SoundFormsTool, ASoundCopiedOnIsChosenInTheFileChooserTestedAndHandedBack) {
    const auto birds = sound(1200, 2);
    const auto ring = sound(1600, 3);
    std::filesystem::create_directories(host_path("My Documents/Sounds"));
    ok({"cp", HostFile("birds.wav", birds).string(), "\\My Documents\\Sounds"});
    ok({"cp", HostFile("ring.wav", ring).string(), "\\My Documents\\Sounds"});
    testing_support::ChildProcess form(SOUND_FORMS, {"--count", "2", "--pause", "1", "--volume", "4"});
    Shows("1027 button \"Test Sound\" visible enabled");

    // "..." opens the chooser at the Windows folder; the folder tree takes it to the sounds.
    ok({"ui", "click", "1031"});
    Shows("1048 window \"Windows\"");
    ok({"ui", "click", "1048"});
    std::string tree = Shows("    item 1 \"My Documents\" collapsed");
    ok({"ui", "select", "2005", "1"});  // My Documents
    ok({"ui", "click", "1048"});
    tree = Shows("      item 2 \"Sounds\" collapsed");
    ok({"ui", "select", "2005", "2"});
    const std::string list = Shows("1048 window \"My Documents\\\\Sounds\"");
    EXPECT_THAT(list, HasSubstr("  row 0 \"birds.wav\" "));
    EXPECT_THAT(list, HasSubstr("  row 1 \"ring.wav\" "));
    const QJsonObject rows = testing_support::DumpControl(ok({"ui", "dump", "--json"}), {{"id", 1041}});
    EXPECT_EQ(rows.value("rows").toArray().size(), 2);
    ok({"ui", "select", "1041", "1"});
    ok({"ui", "click", "1"});
    Shows("1030 edit \"\\\\My Documents\\\\Sounds\\\\ring.wav\"");

    ok({"ui", "click", "1027"});
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(15);
    while (host::CaptureLog::lines().size() < 2 && std::chrono::steady_clock::now() < end)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    Shows("1027 button \"Test Sound\" visible enabled");
    const auto lines = host::CaptureLog::lines();
    ASSERT_EQ(lines.size(), 2u);
    for (const auto& line : lines) {
        const auto play = host::CaptureLog::parse(line);
        ASSERT_TRUE(play);
        EXPECT_EQ(play->volume, (4u * 65535 / 10) * 0x10001u);
        auto captured = read_bytes(host::CaptureLog::folder().parent_path() / play->file);
        ASSERT_GE(captured.size(), 44u);
        EXPECT_TRUE(std::equal(captured.begin() + 44, captured.end(), ring.begin() + 44, ring.end()))
            << "the chosen file, byte for byte";
    }

    ok({"ui", "click", "1"});
    std::vector<std::string> handed_back;
    while (auto line = form.read_line()) handed_back.push_back(*line);
    EXPECT_EQ(handed_back, (std::vector<std::string>{"result=1", "path=\\My Documents\\Sounds\\ring.wav", "volume=4",
                                                     "count=2", "pause=1"}));
    EXPECT_THAT(ok({"reg", "query", "HKLM\\Software\\TessaMedia\\KIVO", "LastFolder"}),
                HasSubstr("\\My Documents\\Sounds"));
}

}  // namespace
