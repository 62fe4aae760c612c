#include "host/notify/NotificationRunner.h"

#include <poll.h>

#include <algorithm>
#include <cerrno>

#include "ce/Files.h"
#include "ce/Notify.h"
#include "ce/Text.h"
#include "ce/Time.h"
#include "host/clock/Clock.h"
#include "host/clock/LocalTime.h"
#include "host/fs/HostError.h"

namespace host {

std::optional<NotificationRunner::Instant> NotificationRunner::start_due(Instant now) {
    std::optional<Instant> next;
    for (const TimedRow& row : store_.timed_rows()) {
        const auto local = time_from_text(row.time);
        const auto readings = local ? device_utc_readings(*local) : std::nullopt;
        const auto due = readings ? std::optional(row.second_reading ? readings->second : readings->first) : std::nullopt;
        if (!due) {
            if (reported_.insert(row.id).second)
                log_.write("not starting " + ce::utf8_from_utf16(row.application) + ": its registered time '" +
                          row.time + "' cannot be");
            continue;
        }
        if (*due > now) {
            if (!next || *due < *next) next = due;
            continue;
        }
        if (unmarked_.contains({row.id, row.time})) continue;
        if (!store_.mark_starting(row)) {
            // Marked by someone else, or registered anew meanwhile (the next wake-up sees that).
            if (!disk_refused()) continue;
            // Ringing needs no free space: started unmarked, its bookkeeping written later.
            unmarked_.insert({row.id, row.time});
            start_timed(row, "registered for " + row.time + "; started unmarked, as " + *trouble_);
            continue;
        }
        if (now - *due > kLatestCatchUp) {
            // Too late to ring: its program only registers what comes next.
            start(row.application, ce::APP_RUN_AFTER_TIME_CHANGE,
                  "registered for " + row.time + ", more than 24 hours ago: too late to ring");
            store_.finish_start(row);
        } else {
            start_timed(row, "registered for " + row.time);
        }
    }
    return next;
}

void NotificationRunner::resume_cut_starts() {
    for (const TimedRow& row : store_.unfinished_starts())
        start_timed(row, "registered for " + row.time + "; again, the service ended while starting it");
}

// A program that cannot be started at all is not tried again: its registration is used up.
void NotificationRunner::start_timed(const TimedRow& row, const std::string& reason) {
    auto started = start(row.application, ce::APP_RUN_AT_TIME, reason);
    if (started && started->process != nullptr)
        followed_.follow(row, std::move(started->process));
    else
        finish(row);
}

void NotificationRunner::finish(const TimedRow& row) {
    // Started while the disk refused writes, its programs could not do their part either
    // (the reminder does not show on a disk that takes no writes): its registration stays,
    // to be started again, marked, once the disk takes writes.
    if (unmarked_.contains({row.id, row.time})) return;
    if (store_.finish_start(row) || !disk_refused()) {
        unmarked_.erase({row.id, row.time});
        return;
    }
    unwritten_.push_back(row);
}

bool NotificationRunner::disk_refused() {
    const int error = store_.database().disk_trouble();
    if (error == 0) return false;
    if (!trouble_) {
        ce::SYSTEMTIME now;
        ce::GetLocalTime(&now);
        trouble_ = "could not write device.db since " + time_text(now) + ": " + HostError::in_words(error) + " (" +
                   std::string(sqlite3_db_filename(store_.database().handle(), "main")) + ")";
        // Written where it can be: a full disk may take this line too (write_back says it again).
        log_.write(*trouble_);
        write_back_wait_ = kFirstWriteBack;
        next_write_back_ = std::chrono::steady_clock::now() + write_back_wait_;
    }
    return true;
}

bool NotificationRunner::write_back() {
    if (!trouble_ || std::chrono::steady_clock::now() < next_write_back_) return false;
    std::vector<TimedRow> waiting;
    waiting.swap(unwritten_);
    bool refused = false;
    for (const TimedRow& row : waiting) {
        if (!refused && store_.finish_start(row)) continue;
        // Registered anew since: nothing of it left to write.
        if (!refused && store_.database().disk_trouble() == 0) continue;
        refused = true;
        unwritten_.push_back(row);
    }
    // The programs started meanwhile could not register what comes next either: they are
    // started as after a change of the clock, which is also the write that tells whether
    // the disk takes one again.
    if (!refused && !record_clock_change()) refused = store_.database().disk_trouble() != 0;
    if (refused) {
        write_back_wait_ = std::min(write_back_wait_ * 2, std::chrono::milliseconds(kLongestWriteBack));
        next_write_back_ = std::chrono::steady_clock::now() + write_back_wait_;
        return false;
    }
    log_.write(*trouble_ + "; written again now" +
               (unmarked_.empty() ? "" : "; what fell due meanwhile is started again"));
    trouble_.reset();
    unmarked_.clear();  // due still: start_due starts them again
    return true;
}

bool NotificationRunner::record_clock_change() {
    Transaction transaction(store_.database());
    return transaction.ok() && store_.record_event(ce::NOTIFICATION_EVENT_TIME_CHANGE) && transaction.commit();
}

std::optional<std::chrono::milliseconds> NotificationRunner::write_back_due() const {
    if (!trouble_) return std::nullopt;
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(next_write_back_ -
                                                                            std::chrono::steady_clock::now());
    return std::max(left, std::chrono::milliseconds(0));
}

void NotificationRunner::settle_ended(Instant now) {
    for (const auto& ended : followed_.take_ended()) {
        const std::string what = ce::utf8_from_utf16(ended.row.application) + " AppRunAtTime (registered for " +
                                 ended.row.time + ")";
        if (ended.finished) {
            failures_.erase(ended.row.id);
            finish(ended.row);
            continue;
        }
        const int failures = ++failures_[ended.row.id];
        auto wait = kFirstRetry;
        for (int doubled = 1; doubled < failures && wait < kLongestRetry; ++doubled) wait *= 2;
        wait = std::min(wait, kLongestRetry);
        const std::string again = time_text(device_local_time(now + wait));
        if (store_.retry_start(ended.row, now + wait))
            log_.write(what + " ended with code " + std::to_string(ended.exit_code) + " before it finished; due again at " +
                      again);
        else
            log_.write(what + " ended with code " + std::to_string(ended.exit_code) +
                      " before it finished; it registered anew meanwhile");
    }
}

void NotificationRunner::register_again(const std::u16string& program, const std::u16string& command_line) {
    if (ce::GetFileAttributesW(program.c_str()) == ce::INVALID_FILE_ATTRIBUTES) return;
    start(program, command_line, "device.db was made anew: its registrations are made again");
}

std::vector<std::unique_ptr<ProcessHandle>> NotificationRunner::raise(ce::LONG event, long raises) {
    const std::u16string word = event == ce::NOTIFICATION_EVENT_TZ_CHANGE ? ce::APP_RUN_AFTER_TZ_CHANGE
                                                                          : ce::APP_RUN_AFTER_TIME_CHANGE;
    std::string reason = event == ce::NOTIFICATION_EVENT_TZ_CHANGE ? "the time zone changed" : "the clock changed";
    if (raises > 1) reason += ", raised " + std::to_string(raises) + " times since its programs were last started";
    std::vector<std::unique_ptr<ProcessHandle>> running;
    for (const auto& program : store_.registered_for(event)) {
        auto started = start(program, word, reason);
        if (started && started->process != nullptr) running.push_back(std::move(started->process));
    }
    return running;
}

void NotificationRunner::settle_before_stop(std::chrono::milliseconds patience) {
    const auto until = std::chrono::steady_clock::now() + patience;
    for (;;) {
        settle_ended(device_utc_now());
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(until - std::chrono::steady_clock::now());
        if (followed_.empty() || left.count() <= 0) return;
        std::vector<pollfd> ends;
        for (const int fd : followed_.fds()) ends.push_back({fd, POLLIN, 0});
        if (poll(ends.data(), ends.size(), static_cast<int>(left.count())) < 0 && errno != EINTR) return;
    }
}

std::optional<StartedProgram> NotificationRunner::start(const std::u16string& program,
                                                        const std::u16string& command_line, const std::string& reason) {
    const std::string what = ce::utf8_from_utf16(program) + " " + ce::utf8_from_utf16(command_line) + " (" + reason + ")";
    std::string failure;
    auto started = starter_.start(program, command_line, &failure);
    if (started)
        log_.write("started " + what + ", process " + std::to_string(started->pid));
    else
        log_.write("could not start " + what + ": " + failure);
    return started;
}

}  // namespace host
