// A running KIVO follows the alarm store: alarms added, changed and removed by other
// programs (a terminal's `handheld alarm`) show in its list while it runs, each in its
// place by time, and the selected alarm stays selected.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <future>
#include <regex>
#include <thread>

#include "ChildProcess.h"
#include "KivoHandheld.h"
#include "alarms/AlarmStoreLock.h"
#include "alarms/CAlarmDB.h"

namespace kivo_tests {
namespace {

using ::testing::ElementsAre;

class StoreFollow : public KivoHandheld {
protected:
    void SetUp() override {
        KivoHandheld::SetUp();
        set_clock("Europe/Berlin", alarm_tests::local_time(2026, 12, 8, 5, 0));
    }
    // `handheld` with these words, run as a second program of the handheld; what it printed.
    static std::string handheld(const std::vector<std::string>& words) {
        testing_support::ChildProcess tool(HANDHELD_PROGRAM, words);
        std::string out;
        while (const auto line = tool.read_line()) out += *line + "\n";
        EXPECT_EQ(tool.wait(), 0) << out;
        return out;
    }
    std::u16string selected() const {
        const CAlarmItem* row = list().Row(list().Selected());
        return row != nullptr ? row->description : u"<none>";
    }
    bool shows(const std::vector<std::u16string>& wanted) {
        return RunUntil([&] { return rows() == wanted; }, std::chrono::seconds(10));
    }
};

TEST_F(StoreFollow, AlarmsAddedChangedAndRemovedElsewhereShowWhileKivoRunsKeepingTheSelection) {
    const auto first = write(1, {.hour = 6, .description = u"first"});
    write(2, {.hour = 8, .description = u"second"});
    Start();
    list().Select(1);
    ASSERT_EQ(selected(), u"second");

    const std::string added = handheld({"alarm", "add", "07:00", "--days", "daily", "--description", "tea"});
    ASSERT_TRUE(shows({u"first", u"tea", u"second"})) << added;
    EXPECT_EQ(selected(), u"second") << "the selection follows its alarm, not its row number";

    {
        CAlarmDB alarm;
        ASSERT_EQ(alarm.Open(first), CAlarmDB::kOk);
        ASSERT_EQ(alarm.SetAlarmTime(9, 0), CAlarmDB::kOk);
        ASSERT_EQ(alarm.SetDescription(u"first, later"), CAlarmDB::kOk);
    }
    ASSERT_TRUE(shows({u"tea", u"second", u"first, later"}));
    EXPECT_EQ(list().Row(2)->hour, 9);
    EXPECT_EQ(selected(), u"second");

    std::smatch number;
    ASSERT_TRUE(std::regex_search(added, number, std::regex("added (-?[0-9]+)\\.kivo")));
    handheld({"alarm", "remove", number[1].str()});
    ASSERT_TRUE(shows({u"second", u"first, later"}));
    EXPECT_EQ(selected(), u"second");
    handheld({"alarm", "remove", "2"});
    ASSERT_TRUE(shows({u"first, later"}));
    EXPECT_EQ(list().Selected(), -1) << "the selected alarm has gone";
}

// Another program inside the store when KIVO starts (Alert firing, say): the load waits for
// it once, gives up, and the list is read as soon as the store is free.
TEST_F(StoreFollow, AStoreHeldAtStartIsReadOnceItIsFree) {
    write(1, {.hour = 6, .description = u"first"});
    write(2, {.hour = 8, .description = u"second"});
    write(3, {.hour = 9, .description = u"third"});
    std::promise<void> held, release;
    std::thread holder([&] {
        AlarmStoreLock lock;
        EXPECT_TRUE(lock.Lock());
        held.set_value();
        release.get_future().wait();
    });
    held.get_future().wait();
    const auto started = std::chrono::steady_clock::now();
    Start();
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_TRUE(rows().empty());
    release.set_value();
    holder.join();
    EXPECT_TRUE(shows({u"first", u"second", u"third"}));
    // One wait for the list and one for the reschedule, not one for every alarm file nor
    // one at every tick of the list following the store.
    EXPECT_LT(waited, std::chrono::milliseconds(3 * AlarmStoreLock::kTimeoutMs));
}

}  // namespace
}  // namespace kivo_tests
