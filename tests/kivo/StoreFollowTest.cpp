// A running KIVO follows the alarm store: alarms added, changed and removed by other
// programs (a terminal's `handheld alarm`) show in its list while it runs, each in its
// place by time, and the selected alarm stays selected.

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <future>
#include <regex>
#include <set>
#include <thread>

#include "ChildProcess.h"
#include "KivoHandheld.h"
#include "alarms/AlarmStoreLock.h"
#include "alarms/CAlarmDB.h"
#include "ce/Files.h"

namespace kivo_tests {
namespace {

using ::testing::ElementsAre;

// Every alarm file opened in a folder, by anyone, from now on: the kernel's own account.
class FolderOpens {
public:
    explicit FolderOpens(const std::filesystem::path& folder) : fd_(inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
        EXPECT_GE(inotify_add_watch(fd_, folder.c_str(), IN_OPEN), 0) << folder;
    }
    ~FolderOpens() { close(fd_); }
    FolderOpens(const FolderOpens&) = delete;
    FolderOpens& operator=(const FolderOpens&) = delete;

    // The names of the alarm files opened since the last call, with how often.
    std::multiset<std::string> Take() {
        std::multiset<std::string> names;
        alignas(inotify_event) char events[8192];
        for (ssize_t got; (got = read(fd_, events, sizeof events)) > 0;) {
            for (ssize_t at = 0; at < got;) {
                const auto* event = reinterpret_cast<const inotify_event*>(events + at);
                const std::string name = event->len > 0 ? event->name : "";
                if (name.ends_with(".kivo")) names.insert(name);
                at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
            }
        }
        return names;
    }

private:
    int fd_;
};

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

// Idle, KIVO opens no alarm file however many there are: the list reads a file again when
// it changed, not at every tick, and its own reads are no change (each would start the
// next read of the whole store, for ever). A file another program changes is still
// followed, and it alone is read.
TEST_F(StoreFollow, IdleKivoOpensNoAlarmFileAndReadsAgainOnlyTheFileChangedElsewhere) {
    constexpr int kAlarms = 50;
    for (int number = 1; number <= kAlarms; ++number)
        write(number, {.hour = number % 24, .minute = number, .description = u"alarm " + std::u16string(1, u'A' + number % 26)});
    Start();
    ASSERT_EQ(rows().size(), static_cast<std::size_t>(kAlarms));
    // The new text of alarm 7, written where the list does not look.
    ASSERT_TRUE(ce::CreateDirectoryW(u"\\Temp"));
    {
        CAlarmDB changed;
        ASSERT_EQ(changed.Create(u"\\Temp\\7.kivo"), CAlarmDB::kOk);
        ASSERT_EQ(changed.SetDescription(u"changed elsewhere"), CAlarmDB::kOk);
        ASSERT_EQ(changed.SetAlarmTime(23, 59), CAlarmDB::kOk);
        ASSERT_EQ(changed.SetActive(1), CAlarmDB::kOk);
    }

    FolderOpens opens(host_path("Program Files/KIVO/Alarms"));
    RunUntil([] { return false; }, std::chrono::seconds(2));
    const auto idle = opens.Take();
    EXPECT_TRUE(idle.empty()) << idle.size() << " alarm files opened by an idle KIVO in 2 s, first "
                              << (idle.empty() ? "" : *idle.begin());

    handheld({"cp", host_path("Temp/7.kivo").string(), "\\Program Files\\KIVO\\Alarms\\7.kivo"});
    ASSERT_TRUE(RunUntil([&] { return !rows().empty() && rows().back() == u"changed elsewhere"; }))
        << "the file another program wrote is shown";
    EXPECT_EQ(rows().size(), static_cast<std::size_t>(kAlarms));
    RunUntil([] { return false; }, std::chrono::milliseconds(500));
    const auto followed = opens.Take();
    EXPECT_EQ(std::set<std::string>(followed.begin(), followed.end()), std::set<std::string>{"7.kivo"})
        << "only the changed file is read again";
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
