// `handheld screenshot`, `ui`, `tap`, `key` and `rotate` on a running form program, as a
// person at a terminal (or an end-to-end test) operates it: real processes, headless.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <regex>

#include "ChildProcess.h"
#include "HandheldDeviceTest.h"
#include "UiDump.h"

namespace {

using ::testing::HasSubstr;
using ::testing::Not;

struct PictureSize {
    unsigned width = 0;
    unsigned height = 0;
};

// Width and height from a PNG's header chunk, which follows the 8-byte signature.
PictureSize png_size(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    unsigned char header[24] = {};
    in.read(reinterpret_cast<char*>(header), sizeof header);
    const auto word = [&](int at) {
        return unsigned{header[at]} << 24 | unsigned{header[at + 1]} << 16 | unsigned{header[at + 2]} << 8 |
               header[at + 3];
    };
    return {word(16), word(20)};
}

class ScreenTool : public tool_tests::HandheldDeviceTest {
protected:
    void SetUp() override {
        HandheldDeviceTest::SetUp();
        ok({"init"});
        ok({"screen", "240", "320", "96"});
        program_ = std::make_unique<testing_support::ChildProcess>(SAMPLE_FORM, std::vector<std::string>{});
        ASSERT_TRUE(Shows("2107 window"));
    }
    void TearDown() override {
        program_.reset();
        HandheldDeviceTest::TearDown();
    }
    std::unique_ptr<testing_support::ChildProcess> program_;
};

// The place of a control in `ui dump`'s line for it: "ID KIND "TEXT" ... X,Y WxH".
struct Place {
    int x = 0, y = 0, width = 0, height = 0;
};

Place place_of(const std::string& dump, int id) {
    const std::regex line("(^|\n)" + std::to_string(id) + " [^\n]* (\\d+),(\\d+) (\\d+)x(\\d+)(\n|$)");
    std::smatch found;
    if (!std::regex_search(dump, found, line)) return {};
    return {std::stoi(found[2]), std::stoi(found[3]), std::stoi(found[4]), std::stoi(found[5])};
}

TEST_F(ScreenTool, TapOnTheHelpButtonOpensTheHelpFormAndEscapeClosesIt) {
    const std::string json = ok({"ui", "dump", "--json"});
    using testing_support::DumpHas;
    EXPECT_TRUE(DumpHas(json, {{"id", 2100}, {"kind", "static"}, {"text", "Sample Form"}, {"checked", QJsonValue()},
                               {"enabled", true}, {"visible", true}}))
        << json;
    EXPECT_TRUE(DumpHas(json, {{"id", 811}, {"kind", "check"}, {"text", "Repeat beaming"}, {"checked", false}}));
    EXPECT_TRUE(DumpHas(json, {{"id", 812}, {"kind", "listbox"}, {"text", ""}, {"checked", QJsonValue()},
                               {"enabled", true}, {"visible", true}, {"selected", 0}}));

    const Place help = place_of(ok({"ui", "dump"}), 2107);
    ASSERT_GT(help.width, 0);
    ok({"tap", std::to_string(help.x + help.width / 2), std::to_string(help.y + help.height / 2)});
    ASSERT_TRUE(Shows("2035 edit \"This form shows the common look"));
    EXPECT_THAT(ok({"ui", "dump"}), HasSubstr("2100 static \"Sample Form\""));

    ok({"key", "ESCAPE"});
    EXPECT_TRUE(Shows("2107 window"));
}

TEST_F(ScreenTool, TheHelpFormClosesByATapOnTheOkAtTheRightOfItsTitleBar) {
    ok({"ui", "click", "2107"});
    ASSERT_TRUE(Shows("2035 edit"));
    const Place done = place_of(ok({"ui", "dump"}), 1);
    EXPECT_GE(done.width, 24);
    EXPECT_GE(done.height, 24);
    EXPECT_GE(done.x + done.width, 240 - 4) << "at the right";
    EXPECT_LE(done.y, 4) << "at the top";
    EXPECT_THAT(ok({"ui", "dump"}), HasSubstr("1 button \"ok\""));
    ok({"tap", std::to_string(done.x + done.width / 2), std::to_string(done.y + done.height / 2)});
    EXPECT_TRUE(Shows("2107 window"));
}

TEST_F(ScreenTool, DigitAndLetterKeysTypeIntoTheFieldWithTheFocus) {
    const Place name = place_of(ok({"ui", "dump"}), 810);
    ASSERT_GT(name.width, 0);
    // The stylus at the field's right end puts the caret after its text.
    ok({"tap", std::to_string(name.x + name.width - 3), std::to_string(name.y + name.height / 2)});
    for (const char* key : {"7", "1", "0x35", "B"}) ok({"key", key});
    EXPECT_TRUE(Shows("810 edit \"Wake up715B\"")) << ok({"ui", "dump"});
}

TEST_F(ScreenTool, RotateLaysTheFormOutAgainAndScreenshotsFollowTheScreen) {
    const auto portrait_shot = device_root() / "portrait.png";
    ok({"screenshot", portrait_shot.string()});
    EXPECT_EQ(png_size(portrait_shot).width, 240u);
    EXPECT_EQ(png_size(portrait_shot).height, 320u);
    const Place list_before = place_of(ok({"ui", "dump"}), 812);

    const std::string rotated = ok({"rotate"});
    EXPECT_THAT(rotated, HasSubstr("screen 320 x 240 at 96 dpi"));
    EXPECT_THAT(rotated, Not(HasSubstr("start them again")));
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    Place list_after = list_before;
    while (list_after.x == list_before.x && std::chrono::steady_clock::now() < end)
        list_after = place_of(ok({"ui", "dump"}), 812);
    EXPECT_GT(list_after.x, list_before.x) << "the list moves beside the other controls";

    const auto landscape_shot = device_root() / "landscape.png";
    ok({"screenshot", landscape_shot.string()});
    EXPECT_EQ(png_size(landscape_shot).width, 320u);
    EXPECT_EQ(png_size(landscape_shot).height, 240u);

    EXPECT_THAT(ok({"screen", "480", "640", "192"}), Not(HasSubstr("start them again")))
        << "programs already running take the new dpi";
}

TEST_F(ScreenTool, AMessageBoxCoversTheFormUntilAnsweredAndTheProgramGetsTheAnswer) {
    ok({"ui", "click", "813"});
    ASSERT_TRUE(Shows("65535 static \"Beam the alarm \\\"Wake up\\\" to the television now?"));
    const std::string box = ok({"ui", "dump", "--json"});
    EXPECT_EQ(testing_support::DumpObject(box).value("title"), "Sample") << box;
    EXPECT_TRUE(testing_support::DumpHas(box, {{"id", 1}, {"kind", "button"}, {"text", "OK"}}));
    EXPECT_TRUE(testing_support::DumpHas(box, {{"id", 2}, {"kind", "button"}, {"text", "Cancel"}}));
    EXPECT_FALSE(testing_support::DumpHas(box, {{"id", 810}})) << "the form underneath takes no request while covered";
    const auto shot = device_root() / "box.png";
    ok({"screenshot", shot.string()});
    EXPECT_EQ(png_size(shot).width, 240u);
    EXPECT_EQ(png_size(shot).height, 320u);

    EXPECT_EQ(handheld({"ui", "click", "7"}).exit_code, 1) << "a box without No has no button 7";
    ok({"ui", "click", "2"});
    EXPECT_TRUE(Shows("2101 static \"Answered 2\""));

    // The keys answer it as the dialog manager does: Enter is the first button.
    ok({"ui", "click", "813"});
    ASSERT_TRUE(Shows("65535 static"));
    ok({"key", "RETURN"});
    EXPECT_TRUE(Shows("2101 static \"Answered 1\""));
    ok({"ui", "click", "813"});
    ASSERT_TRUE(Shows("65535 static"));
    ok({"key", "ESCAPE"});
    EXPECT_TRUE(Shows("2101 static \"Answered 2\""));
}

TEST_F(ScreenTool, WhatNoUserCouldDoIsRefused) {
    const auto missing = handheld({"ui", "click", "999"});
    EXPECT_EQ(missing.exit_code, 1);
    EXPECT_THAT(missing.err, HasSubstr("no control 999"));
    EXPECT_EQ(handheld({"ui", "select", "812", "7"}).exit_code, 1);
    EXPECT_EQ(handheld({"ui", "click", "many"}).exit_code, 2);
    EXPECT_EQ(handheld({"tap", "-1", "5"}).exit_code, 2);
    // Off the 240 x 320 screen: refused with its size, not a tap that touches nothing.
    for (const auto& [x, y] : {std::pair{"240", "320"}, std::pair{"240", "0"}, std::pair{"0", "320"}}) {
        const auto off = handheld({"tap", x, y});
        EXPECT_EQ(off.exit_code, 2) << x << "," << y;
        EXPECT_THAT(off.err, HasSubstr("is off the screen, which is 240 x 320 pixels: X 0-239, Y 0-319"));
    }
    EXPECT_EQ(handheld({"hold", "500", "10", "0.1"}).exit_code, 2);
    // Typing reaches edits only, as the keyboard would.
    const auto typed = handheld({"ui", "set", "2101", "hello"});
    EXPECT_EQ(typed.exit_code, 1);
    EXPECT_THAT(typed.err, HasSubstr("cannot be typed into"));

    program_.reset();  // the program ends: nothing is in the foreground any more
    const auto gone = handheld({"ui", "dump"});
    EXPECT_EQ(gone.exit_code, 1);
    EXPECT_THAT(gone.err, HasSubstr("no program window is in the foreground"));
}

}  // namespace
