#include "NotifyVerb.h"

#include "ClockText.h"
#include "TextTable.h"
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
    TextTable table({"PROGRAM", "KIND", "WHEN", "COMMAND"});
    for (const auto& notification : notifications)
        table.add({ce::utf8_from_utf16(notification.application), notification.is_timed() ? "time" : "event",
                   when_of(notification), ce::utf8_from_utf16(notification.command_word())});
    table.print(console.out());
    return ExitCode::ok;
}

}  // namespace handheld
