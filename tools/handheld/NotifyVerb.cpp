#include "NotifyVerb.h"

#include <algorithm>
#include <array>

#include "ClockText.h"
#include "ce/Notify.h"
#include "ce/Text.h"
#include "host/Device.h"
#include "host/notify/NotificationStore.h"

namespace handheld {

namespace {

std::string event_name(ce::LONG event) {
    if (event == ce::NOTIFICATION_EVENT_TIME_CHANGE) return "time change";
    if (event == ce::NOTIFICATION_EVENT_TZ_CHANGE) return "time-zone change";
    return "event " + std::to_string(event);
}

std::string when_of(const host::Notification& notification) {
    if (!notification.is_timed()) return event_name(notification.event);
    return format_local_time(notification.time) + " " + std::string(weekday_name(notification.time.wDayOfWeek));
}

using Row = std::array<std::string, 4>;

void print(std::ostream& out, const std::vector<Row>& rows) {
    std::array<std::size_t, 4> width{};
    for (const auto& row : rows)
        for (std::size_t column = 0; column < row.size(); ++column)
            width[column] = std::max(width[column], row[column].size());
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t column = 0; column < row.size(); ++column) {
            line += row[column];
            if (column + 1 < row.size()) line += std::string(width[column] - row[column].size() + 2, ' ');
        }
        out << line << '\n';
    }
}

}  // namespace

void NotifyVerb::declare(CLI::App& command) {
    command.require_subcommand(1);
    command.add_subcommand("list", "the registrations, one a line");
    describe(
        "Lists the handheld's notification database: the programs registered to be started\n"
        "at a local time (once) or after every change of the clock or of the time zone,\n"
        "with the word each will find on its command line.");
    command.footer(
        "example:\n"
        "  handheld notify list\n"
        "  PROGRAM                KIND   WHEN                          COMMAND\n"
        "  \\Windows\\kivowake.exe  event  time change                   AppRunAfterTimeChange\n"
        "  \\Windows\\kivowake.exe  event  time-zone change              AppRunAfterTzChange\n"
        "  \\Windows\\kivowake.exe  time   2026-03-28 09:00:00 Saturday  AppRunAtTime");
}

ExitCode NotifyVerb::run(Console& console) { return list(console); }

ExitCode NotifyVerb::list(Console& console) {
    host::NotificationStore store(host::Device::current().database());
    const auto notifications = store.list();
    if (notifications.empty()) {
        console.out() << "no programs registered\n";
        return ExitCode::ok;
    }
    std::vector<Row> rows{{"PROGRAM", "KIND", "WHEN", "COMMAND"}};
    for (const auto& notification : notifications)
        rows.push_back({ce::utf8_from_utf16(notification.application), notification.is_timed() ? "time" : "event",
                        when_of(notification), ce::utf8_from_utf16(notification.command_word())});
    print(console.out(), rows);
    return ExitCode::ok;
}

}  // namespace handheld
