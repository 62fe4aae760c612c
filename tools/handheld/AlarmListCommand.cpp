#include "AlarmListCommand.h"

#include "AlarmText.h"
#include "AlarmStoreActions.h"
#include "ClockText.h"
#include "ce/Text.h"

namespace handheld {

void AlarmListCommand::declare(CLI::App& command) {
    describe(
        "One line per alarm: its file, time, days, whether it is armed, when it is next due\n"
        "(and its pending repeat), its description, sound and infrared database. * marks the\n"
        "alarm the handheld wakes for next.");
    command.footer("example:\n  handheld alarm list");
}

ExitCode AlarmListCommand::run(Console& console) {
    std::vector<AlarmStoreActions::Listed> alarms;
    if (const auto error = AlarmStoreActions::List(&alarms)) return console.fail(*error);
    auto& out = console.out();
    if (alarms.empty()) {
        out << "no alarms\n";
        return ExitCode::ok;
    }
    for (const auto& alarm : alarms) {
        out << (alarm.registered ? "* " : "  ") << ce::utf8_from_utf16(alarm.file_name) << "  "
            << (alarm.time ? AlarmText::TimeOfDay(alarm.time->first, alarm.time->second) : "--:--") << "  "
            << (alarm.days ? AlarmText::FormatDays(*alarm.days) : "no days") << "  "
            << (alarm.active ? "active" : "inactive") << "  due "
            << (alarm.due ? format_local_time(*alarm.due) : "never");
        if (alarm.repeat)
            out << " (repeat " << AlarmText::TimeOfDay((*alarm.repeat)[0], (*alarm.repeat)[1]) << ':'
                << ((*alarm.repeat)[2] < 10 ? "0" : "") << (*alarm.repeat)[2] << ')';
        out << "  \"" << ce::utf8_from_utf16(alarm.description) << '"';
        if (!alarm.sound.empty()) out << "  sound " << ce::utf8_from_utf16(alarm.sound);
        if (!alarm.ir_database.empty()) out << "  beams " << ce::utf8_from_utf16(alarm.ir_database);
        out << '\n';
    }
    return ExitCode::ok;
}

}  // namespace handheld
