// The command list editor and its pause form operated from a terminal: `ui dump` lists a
// list box's lines and a spinner's state, `ui spin` taps its arrows, on the field the
// user tapped last.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "ChildProcess.h"
#include "HandheldDeviceTest.h"
#include "UiDump.h"

namespace {

using ::testing::HasSubstr;

class InfraredFormsTool : public tool_tests::HandheldDeviceTest {
protected:
    void SetUp() override {
        HandheldDeviceTest::SetUp();
        ok({"init"});
        program_ = std::make_unique<testing_support::ChildProcess>(INFRARED_FORMS, std::vector<std::string>{});
        ASSERT_TRUE(Shows("  line 2 \"Volume up\"\n"));
    }
    void TearDown() override {
        program_.reset();
        HandheldDeviceTest::TearDown();
    }
    std::unique_ptr<testing_support::ChildProcess> program_;
};

TEST_F(InfraredFormsTool, SpinnerStepsTheTappedFieldAndThePauseBecomesALine) {
    ok({"ui", "select", "2024", "0"});
    EXPECT_THAT(ok({"ui", "dump"}), HasSubstr("  line 0 \"TV on\" selected\n"));
    ok({"ui", "click", "2018"});
    ASSERT_TRUE(Shows("2106 updown \"\" visible enabled"));
    EXPECT_THAT(ok({"ui", "dump"}), HasSubstr("position=0 range=0..9 buddy=2103\n"));
    ok({"ui", "spin", "2106", "up", "2"});
    ok({"ui", "click", "2104"});  // the tenths from now on
    ok({"ui", "spin", "2106", "down"});
    const std::string dump = ok({"ui", "dump"});
    EXPECT_THAT(dump, HasSubstr("2103 edit \"2\""));
    EXPECT_THAT(dump, HasSubstr("2104 edit \"4\""));
    EXPECT_THAT(dump, HasSubstr("position=4 range=0..9 buddy=2104\n"));
    EXPECT_TRUE(testing_support::DumpHas(ok({"ui", "dump", "--json"}),
                                         {{"id", 2106}, {"position", 4}, {"range", QJsonArray{0, 9}}, {"buddy", 2104}}));
    // A button is no spinner.
    EXPECT_EQ(handheld({"ui", "spin", "1", "up"}).exit_code, 1);
    ok({"ui", "click", "1"});
    EXPECT_TRUE(Shows("  line 1 \"Pause 2.4s\" selected\n"));
}

}  // namespace
