#include "host/notify/NotificationRunner.h"

#include "ce/Notify.h"
#include "ce/Text.h"
#include "host/clock/Clock.h"
#include "host/clock/LocalTime.h"

namespace host {

std::optional<NotificationRunner::Instant> NotificationRunner::start_due(Instant now) {
    std::optional<Instant> next;
    for (const TimedRow& row : store_.timed_rows()) {
        const auto local = time_from_text(row.time);
        const auto due = local ? device_utc_reaching(*local) : std::nullopt;
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
        // Marked by someone else, or registered anew meanwhile (the next wake-up sees that).
        if (!store_.mark_starting(row)) continue;
        if (now - *due > kLatestCatchUp)
            start(row.application, ce::APP_RUN_AFTER_TIME_CHANGE,
                  "registered for " + row.time + ", more than 24 hours ago: too late to ring");
        else
            start(row.application, ce::APP_RUN_AT_TIME, "registered for " + row.time);
        store_.finish_start(row);
    }
    return next;
}

void NotificationRunner::resume_cut_starts() {
    for (const TimedRow& row : store_.unfinished_starts()) {
        start(row.application, ce::APP_RUN_AT_TIME,
              "registered for " + row.time + "; again, the service ended while starting it");
        store_.finish_start(row);
    }
}

void NotificationRunner::raise(ce::LONG event) {
    const std::u16string word = event == ce::NOTIFICATION_EVENT_TZ_CHANGE ? ce::APP_RUN_AFTER_TZ_CHANGE
                                                                          : ce::APP_RUN_AFTER_TIME_CHANGE;
    const std::string reason = event == ce::NOTIFICATION_EVENT_TZ_CHANGE ? "the time zone changed" : "the clock changed";
    for (const auto& program : store_.registered_for(event)) start(program, word, reason);
}

void NotificationRunner::start(const std::u16string& program, const std::u16string& command_line,
                               const std::string& reason) {
    const std::string what = ce::utf8_from_utf16(program) + " " + ce::utf8_from_utf16(command_line) + " (" + reason + ")";
    std::string failure;
    const auto process = starter_.start(program, command_line, &failure);
    if (process)
        log_.write("started " + what + ", process " + std::to_string(*process));
    else
        log_.write("could not start " + what + ": " + failure);
}

}  // namespace host
