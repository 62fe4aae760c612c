#include <gtest/gtest.h>

#include "CodebaseTesting.h"
#include "forms/CommandListCodebase.h"
#include "irlib/card/codebase_writer.h"
#include "irlib/card/result_codes.h"
#include "irlib/irvox/command_list.h"

namespace {

using namespace platform::card;

class CommandListInCodebase : public codebase_testing::CodebaseFolder {
protected:
    void SetUp() override {
        CodebaseFolder::SetUp();
        ASSERT_EQ(registry().create_codebase("7", codebase_testing::Bytes{0, 0, 0, 0}), kOk);
    }
    void store(ItemDataArr& items) {
        codebase_writer writer;
        ASSERT_EQ(writer.open("7"), kOk);
        ASSERT_EQ(CommandListCodebase::Store(items, writer), kOk);
        ASSERT_EQ(writer.commit(), kOk);
    }
    ItemDataArr load() {
        codebase base;
        EXPECT_EQ(base.open("7"), kOk);
        return CommandListCodebase::Load(base);
    }
};

const signal_data kPower{{9000, -4500, 560, -1690, 560, -40000}, 2, 26};
const signal_data kVolume{{2400, -600, 1200, -20000}, 0, 25};

TEST(ItemData, NamesArePackedIntoTheFieldAndCutAtFortyNineCharacters) {
    ItemData item;
    item.SetDisplayName(u"TV \u00e9");
    EXPECT_STREQ(item.PackedName(), "T\xEFV\xEF \xEF\xE9\xEF");
    EXPECT_EQ(item.DisplayName(), u"TV \u00e9");
    item.SetDisplayName(std::u16string(60, u'x'));
    EXPECT_EQ(item.DisplayName(), std::u16string(49, u'x'));
    EXPECT_EQ(ItemData::Pause(2500).DisplayName(), u"Pause 2.5s");
    EXPECT_EQ(ItemData::Pause(50).DisplayName(), u"Pause 0.1s");
    EXPECT_EQ(ItemData::Pause(12000).DisplayName(), u"Pause 12.0s");
}

TEST_F(CommandListInCodebase, ListComesBackLineForLineWithSignalsNumberedInListOrder) {
    ItemDataArr items = {ItemData::Signal(kPower, 3, 1000, u"TV on"), ItemData::Pause(1500),
                         ItemData::Signal(kVolume, ItemData::kRepeatForDuration, 2500, u""),
                         ItemData::Signal(kPower, 4, 1000, u"again")};
    store(items);
    EXPECT_EQ(items[2].DisplayName(), u"Beam infrared");  // the stored name stays in the line

    codebase base;
    ASSERT_EQ(base.open("7"), kOk);
    EXPECT_EQ(base.signal_names(), (std::vector<std::string>{"IR1", "IR2", "IR3"}));
    base.close();
    const ItemDataArr loaded = load();
    ASSERT_EQ(loaded.size(), 4u);
    EXPECT_EQ(loaded, items);
}

TEST_F(CommandListInCodebase, StepWhoseSignalIsGoneAndStepsThatAreNotLinesAreLeftOut) {
    {
        codebase_writer writer;
        ASSERT_EQ(writer.open("7"), kOk);
        ASSERT_EQ(writer.put_signal("IR1", kPower, true), kOk);
        irvox::command_list steps;
        steps.add_reference("IR9", 3, 0, "gone", nullptr);
        steps.add_reference("IR1", 2, 0, nullptr, nullptr);
        steps.add_reference("$Other", 1, 0, nullptr, nullptr);
        steps.add_delay(700);
        ASSERT_EQ(steps.serialise_macro("Alarm"), 0);
        ASSERT_EQ(writer.put_macro("Alarm", steps.record()), kOk);
        ASSERT_EQ(writer.commit(), kOk);
    }
    const ItemDataArr loaded = load();
    ASSERT_EQ(loaded.size(), 2u);
    EXPECT_EQ(loaded[0].kind, ItemData::kSignal);
    EXPECT_EQ(loaded[0].DisplayName(), u"Beam Infrared");
    EXPECT_EQ(loaded[0].repeatMode, 2);
    EXPECT_EQ(loaded[0].SignalData().durations, kPower.durations);
    EXPECT_EQ(loaded[1].kind, ItemData::kPause);
    EXPECT_EQ(loaded[1].DisplayName(), u"Pause 0.7s");
}

TEST_F(CommandListInCodebase, AListWithASignalTooLongToKeepIsNotStoredWithoutIt) {
    // 128 marks and spaces of 40 ms: each space takes two entries, 384 in all.
    signal_data endless;
    for (int pair = 0; pair < 128; ++pair) endless.durations.insert(endless.durations.end(), {560, -40000});
    ItemDataArr items = {ItemData::Signal(kPower, 3, 1000, u"TV on"), ItemData::Signal(endless, 3, 1000, u"Air")};
    codebase_writer writer;
    ASSERT_EQ(writer.open("7"), kOk);
    EXPECT_EQ(CommandListCodebase::Store(items, writer), kBadSignal) << "not a macro beaming less than the list";
    EXPECT_LT(writer.find_macro(CommandListCodebase::kMacro), 0);
}

TEST_F(CommandListInCodebase, CodebaseWithoutTheMacroGivesAnEmptyList) {
    EXPECT_TRUE(load().empty());
}

}  // namespace
