// The handheld's help viewer as the shell starts it for "Help on KIVO": by bare name, on
// a page in the Windows folder, shown full screen until Escape closes it.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "HandheldDeviceTest.h"
#include "UiDump.h"
#include "ce/Process.h"

namespace {

using ::testing::HasSubstr;

class HelpViewer : public tool_tests::HandheldDeviceTest {
protected:
    void SetUp() override {
        HandheldDeviceTest::SetUp();
        EXPECT_THAT(ok({"init"}), HasSubstr("placed \\Windows\\peghelp.exe"));
        std::filesystem::copy_file(HELP_PAGE, host_path("Windows/KIVO.htm"));
    }
    void TearDown() override {
        // A viewer a failed step left open.
        const std::string running = handheld({"ps"}).out;
        const std::regex pid("(^|\n)([0-9]+) ");
        for (std::sregex_iterator found(running.begin(), running.end(), pid), end; found != end; ++found) {
            const ce::HANDLE process = ce::OpenProcess(ce::PROCESS_ALL_ACCESS, ce::FALSE, std::stoul((*found)[2]));
            if (process != nullptr) ce::TerminateProcess(process, 1);
            if (process != nullptr) ce::CloseHandle(process);
        }
        HandheldDeviceTest::TearDown();
    }
    // Waits until the foreground window's `ui dump --json` holds `text`; the dump then.
    std::string WaitForDump(const std::string& text) {
        std::string dump;
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            dump = handheld({"ui", "dump", "--json"}).out;
            if (dump.find(text) != std::string::npos) break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return dump;
    }
    bool Ends() {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (std::chrono::steady_clock::now() < end) {
            if (handheld({"ps"}).out == "no programs running\n") return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }
};

TEST_F(HelpViewer, TheShellsCommandLineShowsTheProgramsHelpPageFullScreen) {
    ok({"run", "peghelp.exe", "file:KIVO.htm"});
    const std::string dump = WaitForDump("When an alarm goes off");
    const QJsonObject window = testing_support::DumpObject(dump);
    EXPECT_EQ(window.value("title"), "Help") << dump;
    EXPECT_EQ(window.value("width"), 240);
    EXPECT_EQ(window.value("height"), 320);
    const QJsonObject page = testing_support::DumpControl(dump, {{"kind", "browser"}});
    EXPECT_TRUE(page.value("text").toString().startsWith("KIVO\nKIVO is an alarm clock")) << dump;
    EXPECT_THAT(dump, HasSubstr("You cannot make active two alarms with the same alarm time!"));
    EXPECT_THAT(ok({"ps"}), HasSubstr("\\Windows\\peghelp.exe"));

    ok({"key", "ESCAPE"});
    EXPECT_TRUE(Ends()) << "Escape closes the viewer";
}

TEST_F(HelpViewer, AnotherPageTakesTheViewersPlaceAndAMissingOneIsSaidInIt) {
    ok({"run", "peghelp.exe", "file:KIVO.htm"});
    ASSERT_THAT(WaitForDump("When an alarm goes off"), HasSubstr("When an alarm goes off"));
    ok({"run", "peghelp.exe", "file:Nothing.htm#top"});
    EXPECT_THAT(WaitForDump("is not on this handheld"),
                HasSubstr(R"(The help page \\Windows\\Nothing.htm is not on this handheld.)"));
    // The viewer whose place was taken ends a moment after it gave up its window.
    std::string running = ok({"ps"});
    for (int tries = 0; tries < 200 && running.find("peghelp") != running.rfind("peghelp"); ++tries) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        running = ok({"ps"});
    }
    EXPECT_EQ(running.find("peghelp"), running.rfind("peghelp")) << "one viewer runs:\n" << running;
    ok({"key", "ESCAPE"});
    EXPECT_TRUE(Ends());
}

// Without keys: a tap on the menu bar's View, then one on its Close.
TEST_F(HelpViewer, TwoTapsCloseTheViewerThroughItsMenu) {
    ok({"run", "peghelp.exe", "file:KIVO.htm"});
    ASSERT_THAT(WaitForDump("When an alarm goes off"), HasSubstr("When an alarm goes off"));
    for (const std::string line : {"menubar \"View\"", "menu \"View > Close\""}) {
        const std::string dump = ok({"ui", "dump"});
        std::smatch place;
        ASSERT_TRUE(std::regex_search(dump, place, std::regex(line + R"([^\n]* (\d+),(\d+) (\d+)x(\d+)( open)?\n)")))
            << line << " placed in\n" << dump;
        ok({"tap", std::to_string(std::stoi(place[1]) + std::stoi(place[3]) / 2),
            std::to_string(std::stoi(place[2]) + std::stoi(place[4]) / 2)});
    }
    EXPECT_TRUE(Ends()) << "Close, chosen by a tap, closes the viewer";
}

}  // namespace
