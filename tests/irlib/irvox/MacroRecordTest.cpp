// Command lists written as macro records byte by byte, stored in a codebase on disk and
// read back; records read back whatever they hold past what a list writes.

#include <gtest/gtest.h>

#include "CodebaseTesting.h"
#include "StreamBytes.h"
#include "irlib/card/codebase_writer.h"
#include "irlib/card/result_codes.h"
#include "irlib/irvox/command_list.h"

namespace {

using codebase_testing::Bytes;
using irvox::command;
using irvox::command_list;
using meta::testing::ByteBuilder;

const Bytes kMacroHead{0x00, 0x01, 'A', 'l', 'a', 'r', 'm', 0x00, 0x01, 0x2A, 0x06, 'm', 'a', 'c', 'r', 'o', 0x00,
                       0x03, 0x2A, 0x04, 'v', 'e', 'r', 0x00, 0x22, 0x01, 0x40};

Bytes serialised(command_list& list, const char* name = "Alarm") {
    EXPECT_EQ(list.serialise_macro(name), 0);
    return Bytes(list.record().begin(), list.record().end());
}

Bytes record_of(const ByteBuilder& children) {
    Bytes record = kMacroHead;
    record.insert(record.end(), children.bytes().begin(), children.bytes().end());
    record.push_back(0x02);
    return record;
}

std::vector<command> loaded(const Bytes& record) {
    command_list list;
    EXPECT_EQ(list.load_macro(record), 0);
    return list.commands();
}

TEST(MacroRecord, AlarmWithAPauseIsTheBytesOfTheFormat) {
    command_list list;
    list.add_delay(1500);
    Bytes want = kMacroHead;
    want.insert(want.end(), {0x01, 0x2A, 0x06, 'd', 'e', 'l', 'a', 'y', 0x00, 0x03, 0x2A, 0x03, 'm', 's', 0x00, 0x22,
                             0x05, 0xDC, 0x02, 0x02});
    EXPECT_EQ(serialised(list), want);
    EXPECT_EQ(serialised(list, "$Alarm"), want);  // a leading "$" is not part of the stored name
}

TEST(MacroRecord, CommandsThatWriteNothingLeaveTheEmptyMacroElement) {
    command_list list;
    list.add_delay(0);
    list.add_reference(nullptr, 3, -1, "no id", nullptr);
    list.add(command{});  // a kind the format has no element for
    Bytes want = kMacroHead;
    want.push_back(0x02);
    EXPECT_EQ(serialised(list), want);
    EXPECT_TRUE(loaded(want).empty());

    command_list empty;
    EXPECT_EQ(empty.serialise_macro("Alarm"), -1);
    EXPECT_TRUE(empty.record().empty());
}

TEST(MacroRecord, ReferenceAttributesFollowIdRepeatAndDuration) {
    command_list list;
    list.add_reference("$Wake", 5, 700, nullptr, nullptr);  // repeat given: the duration is dropped
    list.add_reference("TV", command::kByDuration, 2500, "power", "7");
    list.add_reference("VOL", command::kNotGiven, -1, nullptr, nullptr);
    ByteBuilder children;
    children({0x01}).text("reference")({0x03}).text("macro")({}).text("$Wake")({0x03}).text("repeat")({0x22, 0, 5, 0x02});
    children({0x01}).text("reference")({0x03}).text("base")({}).text("7")({0x03}).text("signal")({}).text("TV");
    children({0x03}).text("comment")({}).text("power")({0x03}).text("duration")({0x22, 0x09, 0xC4, 0x02});
    children({0x01}).text("reference")({0x03}).text("signal")({}).text("VOL")({0x02});
    EXPECT_EQ(serialised(list), record_of(children));
}

TEST(MacroRecord, NumbersBeyondSixteenBitsKeepTheMostTheFieldSays) {
    command_list list;
    list.add_delay(70000);
    list.add_reference("TV", 70000, -1, nullptr, nullptr);
    list.add_reference("VOL", command::kByDuration, 100000, nullptr, nullptr);
    const auto back = loaded(serialised(list));
    ASSERT_EQ(back.size(), 3u);
    EXPECT_EQ(back[0].duration, 65535);
    EXPECT_EQ(back[1].repeat, 65534);  // 65535 would mean a single pass
    EXPECT_EQ(back[2].duration, 65535);
}

class MacroInCodebase : public codebase_testing::CodebaseFolder {};

TEST_F(MacroInCodebase, ListStoredInACodebaseReadsBackTheSame) {
    command_list list;
    list.add_reference("TV", 2, -1, "power", nullptr);
    list.add_delay(1500);
    list.add_reference("VOL", command::kByDuration, 1000, nullptr, "8");
    list.add_reference("$Lights", command::kNotGiven, -1, nullptr, nullptr);
    list.add_delay(40000);  // above 32767: stays a 40-second pause
    list.add_reference("TV", 65535, -1, nullptr, nullptr);
    command action;
    action.kind = command::kAction;
    action.id = command::owned_text("wake");
    list.add(action);
    ASSERT_EQ(list.serialise_macro("Alarm"), 0);

    using namespace platform::card;
    ASSERT_EQ(database_registry::instance().create_codebase("7", Bytes{0, 0, 0, 0}), kOk);
    {
        codebase_writer writer;
        ASSERT_EQ(writer.open("7"), kOk);
        ASSERT_EQ(writer.put_macro("Alarm", list.record()), kOk);
        ASSERT_EQ(writer.commit(), kOk);
    }
    codebase reader;
    ASSERT_EQ(reader.open("7"), kOk);
    const auto record = reader.record(reader.find_macro("Alarm"));
    EXPECT_EQ(loaded(Bytes(record.begin(), record.end())), list.commands());
}

TEST(MacroRecord, ReadingStopsAfterTheFirstMacroAndAtAFault) {
    ByteBuilder first;
    first({0x01}).text("delay")({0x03}).text("ms")({0x22, 0, 10, 0x02});
    first({0x01}).text("unknown")({0x03}).text("ms")({0x22, 0, 99})({0x01}).text("delay")({0x02, 0x02});
    first({0x01}).text("action")({0x03}).text("id")({}).text("wake")({0x03}).text("other")({0x24, 0x02});
    Bytes two_macros = record_of(first);
    Bytes second = kMacroHead;
    second.erase(second.begin(), second.begin() + 8);  // a second "macro" element, no record head
    two_macros.insert(two_macros.end(), second.begin(), second.end());
    two_macros.insert(two_macros.end(), {0x01, 0x2A, 0x06, 'd', 'e', 'l', 'a', 'y', 0x00, 0x03, 0x2A, 0x03, 'm', 's',
                                         0x00, 0x22, 0x00, 0x14, 0x02, 0x02});

    const auto commands = loaded(two_macros);
    // The delay nested in the unknown element carries no "ms": it reads back as no pause.
    ASSERT_EQ(commands.size(), 3u);
    EXPECT_EQ(commands[0].duration, 10);
    EXPECT_EQ(commands[1].kind, command::kDelay);
    EXPECT_EQ(commands[1].duration, command::kNotGiven);
    EXPECT_STREQ(command::text_of(commands[2].id), "wake");

    ByteBuilder cut;
    cut({0x01}).text("reference")({0x03}).text("signal")({}).text("TV")({0x02});
    cut({0x01}).text("delay")({0x03}).text("ms")({0x22, 0x05});  // the stream ends inside a value
    Bytes truncated = record_of(cut);
    truncated.resize(truncated.size() - 1);
    const auto before_fault = loaded(truncated);
    ASSERT_EQ(before_fault.size(), 1u);
    EXPECT_STREQ(command::text_of(before_fault[0].id), "TV");
    EXPECT_TRUE(loaded(Bytes{0x00, 0x01, 'A'}).empty());  // a name without its end
}

}  // namespace
