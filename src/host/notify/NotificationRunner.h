#pragma once
// What the notification service decides: which timed registrations the handheld's clock
// has reached, and which programs an event starts. A timed registration runs once: it
// is marked as being started before its program is spawned, and only the one who
// marked it starts it, however many look at the same moment; it leaves the database
// once its program has ended with exit code 0 (FollowedStarts). A program that ends
// otherwise leaves it registered a little later, later still at each failure in a row.
// A service killed in between leaves the mark, and the next one starts the program
// again (resume_cut_starts): a start may then happen twice, but is never lost.

#include <chrono>
#include <cstdint>
#include <optional>
#include <map>
#include <memory>
#include <set>
#include <vector>
#include <string>

#include "ce/Types.h"
#include "host/notify/FollowedStarts.h"
#include "host/notify/NotificationStore.h"
#include "host/notify/ProgramStarter.h"
#include "host/DeviceLog.h"

namespace host {

class NotificationRunner {
public:
    using Instant = std::chrono::system_clock::time_point;  // device UTC

    // How late a timed registration still rings: one whose time passed longer ago (the
    // computer was off for days) would wake nobody at the right time, so its program is
    // started as after a change of the clock instead, to register what is next.
    static constexpr std::chrono::hours kLatestCatchUp{24};

    NotificationRunner(NotificationStore& store, ProgramStarter& starter, const DeviceLog& log)
        : store_(store), starter_(starter), log_(log) {}

    // Starts every timed registration due at `now`, also one that fell due while no
    // service ran (up to kLatestCatchUp ago); the instant the next one falls due, if any.
    std::optional<Instant> start_due(Instant now);
    // Starts again the registrations a previous service marked but did not finish; for
    // a service that has just taken over the handheld.
    void resume_cut_starts();
    // For a database made anew, which has lost every registration: starts `program`
    // (when the handheld has it) with `command_line`, to register again what the alarm
    // files hold.
    void register_again(const std::u16string& program, const std::u16string& command_line);
    // Starts every program registered for `event` with the event's word; they stay
    // registered. `raises`: how many raises of the event this start stands for. The
    // programs started that can be followed.
    std::vector<std::unique_ptr<ProcessHandle>> raise(ce::LONG event, long raises = 1);
    // Settles the starts whose programs have ended: used up, or due again a little later.
    void settle_ended(Instant now);
    // For a service that stops: waits up to `patience` for the started programs to end,
    // settling each. One still running keeps its mark, for the next service to start again.
    void settle_before_stop(std::chrono::milliseconds patience);
    // What to poll for the ends of the started programs.
    std::vector<int> program_fds() const { return followed_.fds(); }

    // While device.db cannot be written (a full disk, an I/O error), a registration that
    // falls due is started all the same, unmarked, and what could not be written of it is
    // written once it can be (write_back). The trouble, as "could not write device.db
    // since TIME: CAUSE"; nothing when there is none.
    const std::optional<std::string>& trouble() const { return trouble_; }
    // Writes what waits to be written, and records a change of the clock for the programs
    // started meanwhile, which could not register what comes next; true when that ended
    // the trouble. When to try again (write_back_due), while there is trouble.
    bool write_back();
    std::optional<std::chrono::milliseconds> write_back_due() const;

    // The first wait before a registration whose program failed is due again; it doubles
    // with each failure in a row, up to kLongestRetry.
    static constexpr std::chrono::seconds kFirstRetry{2};
    static constexpr std::chrono::seconds kLongestRetry{300};
    // The first wait before what the disk refused is written again; it doubles up to
    // kLongestWriteBack while the disk still refuses.
    static constexpr std::chrono::milliseconds kFirstWriteBack{500};
    static constexpr std::chrono::milliseconds kLongestWriteBack{10'000};

private:
    std::optional<StartedProgram> start(const std::u16string& program, const std::u16string& command_line,
                                        const std::string& reason);
    void start_timed(const TimedRow& row, const std::string& reason);
    // finish_start, kept for write_back when the disk refuses it.
    void finish(const TimedRow& row);
    // After a write failed: whether the disk refused it (then kept as the trouble).
    bool disk_refused();
    bool record_clock_change();

    NotificationStore& store_;
    ProgramStarter& starter_;
    const DeviceLog& log_;
    std::set<std::int64_t> reported_;  // rows with an impossible time, logged once each
    FollowedStarts followed_;
    std::map<std::int64_t, int> failures_;  // failed starts in a row, per registration
    // Started without a mark (the disk refused it), by id and time: not started again.
    std::set<std::pair<std::int64_t, std::string>> unmarked_;
    std::vector<TimedRow> unwritten_;  // finished starts the disk refused
    std::optional<std::string> trouble_;
    std::chrono::steady_clock::time_point next_write_back_{};
    std::chrono::milliseconds write_back_wait_{0};
};

}  // namespace host
