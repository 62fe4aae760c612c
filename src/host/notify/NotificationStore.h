#pragma once
// The notification database as rows of device.db: per program (keyed by its case-folded
// device path) at most one timed registration and one registration per event.

#include <chrono>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ce/Time.h"
#include "ce/Types.h"
#include "host/Database.h"

namespace host {

struct Notification {
    std::u16string application;  // the device path as it was registered
    ce::LONG event = 0;          // 0 for the timed registration
    ce::SYSTEMTIME time;         // local time of the timed registration

    bool is_timed() const { return event == 0; }
    // The word the started program finds on its command line.
    std::u16string command_word() const;
};

// A timed registration as the database holds it, its time not yet read: a row written
// by anything but CeRunAppAtTime may hold a time that cannot be.
struct TimedRow {
    std::int64_t id = 0;
    std::u16string application;
    std::string time;  // "YYYY-MM-DD HH:MM:SS"
    bool second_reading = false;  // the second time the clock reads it, in an hour repeated
};

class NotificationStore {
public:
    explicit NotificationStore(Database& database) : db_(database) {}

    // Replaces the program's timed registration. A local time the zone repeats means its
    // first instant, unless that has passed when it is registered and the second has
    // not: "in 5 minutes", asked during the repeated hour, is then.
    bool set_time(std::u16string_view application, const ce::SYSTEMTIME& local);
    Database& database() { return db_; }
    bool remove_time(std::u16string_view application);
    bool add_event(std::u16string_view application, ce::LONG event);
    bool remove_events(std::u16string_view application);
    // The program's timed registration, if it has one with a time that can be.
    std::optional<ce::SYSTEMTIME> time_of(std::u16string_view application);
    // Every registration, in the order it was made.
    std::vector<Notification> list();

    std::vector<TimedRow> timed_rows();
    // A timed registration is started in three steps that a crash can part: marked as
    // being started, its program spawned, then finished. Marking succeeds when the row
    // still holds the same time (it was not registered anew meanwhile) and nobody marked
    // it for that time yet: whoever gets true starts the program, so it starts once. A
    // mark left for an earlier time of the same row (its finish failed) is replaced.
    bool mark_starting(const TimedRow& row);
    // Unmarks `row` and removes the registration, unless it was registered anew since
    // it was marked (the started program may well register itself again).
    bool finish_start(const TimedRow& row);
    // Unmarks `row` and registers it again for the instant `at` (device UTC): its program
    // ended before it finished. False, only unmarking, when it was registered anew (or
    // removed) since it was marked.
    bool retry_start(const TimedRow& row, std::chrono::system_clock::time_point at);
    // Marked rows still holding the time they were marked with: their starter ended
    // before it finished, so their program may never have run. Marks of rows registered
    // anew or removed since are dropped: someone acted on them after the spawn.
    std::vector<TimedRow> unfinished_starts();
    // Removes a timed registration that a change of the clock or zone jumped over, with
    // any mark of its start: true when it was there with that time.
    bool take_timed(const TimedRow& row);
    // Records that `event` was raised, in the caller's transaction when it has one: the
    // service starts its programs (take_events). Raises not yet taken count as one more.
    bool record_event(ce::LONG event);
    // For the service: takes the recorded raises; every event taken and not yet run (also
    // by a service that ended before it ran them), with how many raises it stands for.
    // Waits for a writer's open transaction, so what it announced is committed first.
    // Nothing when the database cannot be written.
    std::optional<std::map<ce::LONG, long>> take_events();
    // The programs of the taken `event` were started: its taken raises are done.
    bool event_run(ce::LONG event);
    // The programs registered for `event`, in the order they registered.
    std::vector<std::u16string> registered_for(ce::LONG event);

    // The key of a program: one key for every spelling of a device path; empty for a
    // path that cannot name a file.
    static std::string key_of(std::u16string_view application);

private:
    bool remove(std::u16string_view application, bool timed);

    Database& db_;
};

}  // namespace host
