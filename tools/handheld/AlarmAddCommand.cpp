#include "AlarmAddCommand.h"

#include <algorithm>
#include <filesystem>
#include <initializer_list>
#include <system_error>
#include <tuple>

#include "AlarmStoreActions.h"
#include "AlarmText.h"
#include "Arguments.h"
#include "ClockText.h"
#include "CompletionWords.h"
#include "PlayVerb.h"
#include "alarms/StoredSoundPath.h"
#include "ce/Files.h"
#include "ce/Text.h"
#include "host/Device.h"
#include "host/DeviceOwner.h"
#include "sound/CSoundWave.h"
#include "sound/SoundFileCheck.h"

namespace handheld {

namespace {

// What the alarm file may hold, as the alarm form offers it.
constexpr std::initializer_list<std::uint32_t> kPauses = {0, 1, 2, 3, 5, 10, 20, 30, 60, 90};
constexpr std::initializer_list<std::uint32_t> kReplays = {1, 2, 3, 5, 10, 15, 20, 30};
// Texts of 200 characters and more read back as absent.
constexpr std::size_t kLongestText = 199;

std::string list_of(std::initializer_list<std::uint32_t> values, const char* separator = ", ") {
    std::string text;
    for (const auto value : values) text += (text.empty() ? "" : separator) + std::to_string(value);
    return text;
}

// An option taking one of `allowed` into `value`.
CLI::Option* add_one_of(CLI::App& command, const std::string& name, std::uint32_t& value,
                        std::initializer_list<std::uint32_t> allowed, const std::string& description) {
    auto* option = command.add_option_function<std::string>(
        name, [&value](const std::string& text) { value = *whole_number(text); }, description);
    return CompletionWords::offer(option, list_of(allowed, " "))
        ->type_name("N")
        ->check([allowed](const std::string& text) {
            const auto number = whole_number(text);
            return number && std::find(allowed.begin(), allowed.end(), *number) != allowed.end()
                       ? std::string()
                       : "must be one of " + list_of(allowed) + ", not '" + text + "'";
        });
}

}  // namespace

void AlarmAddCommand::declare(CLI::App& command) {
    describe(
        "Writes a new alarm file in the alarm store under the store's lock, as the alarm form\n"
        "saves one, then registers the alarm due next with the handheld's notification\n"
        "database. An armed alarm whose time an armed alarm has already is refused, as KIVO's\n"
        "list refuses it: only one of them could ring (--inactive adds it disarmed). Without\n"
        "--sound the alarm rings silently, as one the form saves with \"Play sound\" unticked;\n"
        "the tool says so.");
    command.add_option("HH:MM", time_, "the time of day, 00:00-23:59")
        ->required()
        ->check([](const std::string& text) {
            return AlarmText::ParseTimeOfDay(text) ? "" : "the time must be HH:MM (00:00-23:59), not '" + text + "'";
        });
    auto* days = command.add_option("--days", days_, "once (the default), daily, weekdays, weekend, or day names:\nmon,tue,wed,thu,fri,sat,sun")
        ->type_name("DAYS")
        ->check([](const std::string& text) {
            return AlarmText::ParseDays(text) ? "" : "must be once, daily, weekdays, weekend or day names, not '" + text + "'";
        });
    CompletionWords::offer(days, "once daily weekdays weekend mon tue wed thu fri sat sun");
    command.add_option("--description", description_, "the text the reminder shows (up to 199 characters)")
        ->type_name("TEXT")
        ->check([](const std::string& text) {
            return ce::utf16_from_utf8(text).size() <= kLongestText ? "" : "is longer than 199 characters";
        });
    auto* sound = command.add_option("--sound", sound_,
                                     "the WAV file to play: a device path, or a host file, which is\n"
                                     "copied to \\My Documents on the handheld")
                      ->type_name("FILE");
    add_number(command, "--volume", volume_, 1, 10, "1-10 (default 6)")->needs(sound);
    add_number(command, "--count", count_, 1, 10, "plays, 1-10 (default 1)")->needs(sound);
    add_one_of(command, "--pause", pause_, kPauses, "seconds between plays: " + list_of(kPauses) + " (default 0)")
        ->needs(sound);
    auto* codebase = command.add_option("--codebase", codebase_,
                                        "a codebase of the alarms folder: its macro \"Alarm\" is beamed when\n"
                                        "the alarm goes off (the alarm gets a copy of it, named like its file)")
                         ->type_name("NAME");
    command.add_flag("--beam-on-repeats", beam_on_repeats_, "beam again each time an unanswered alarm rings again")
        ->needs(codebase);
    add_one_of(command, "--replay", replay_, kReplays,
               "minutes until an unanswered alarm rings again: " + list_of(kReplays) + " (default 5)");
    command.add_flag("--inactive", inactive_, "write the alarm disarmed");
    command.footer(
        "example:\n"
        "  handheld alarm add 07:30 --days weekdays --description \"Get up\" \\\n"
        "      --sound /usr/share/sounds/alsa/Front_Center.wav --count 3 --pause 10");
}

std::optional<std::string> AlarmAddCommand::PlaceSound(const std::string& given, std::u16string* device_path) {
    if (given.starts_with("\\")) {
        *device_path = ce::utf16_from_utf8(given);
    } else {
        std::error_code error;
        if (!std::filesystem::is_regular_file(given, error)) return "no file " + given + " (a device path starts with \\)";
        const std::string name = std::filesystem::path(given).filename().string();
        const auto folder = host::Device::current().fs_dir() / "My Documents";
        std::filesystem::create_directories(folder, error);
        std::filesystem::copy_file(given, folder / name, std::filesystem::copy_options::overwrite_existing, error);
        if (error) return "cannot copy " + given + " onto the handheld: " + error.message();
        host::DeviceOwner::make_private(folder / name);
        *device_path = ce::utf16_from_utf8("\\My Documents\\" + name);
    }
    switch (StoredSoundPath::Check(*device_path)) {
        case StoredSoundPath::Fit::fits: return std::nullopt;
        case StoredSoundPath::Fit::too_long: return std::string("the sound's path is too long");
        case StoredSoundPath::Fit::foreign_characters:
            return std::string("the sound's path has characters the alarm file cannot hold");
    }
    return std::nullopt;
}

ExitCode AlarmAddCommand::run(Console& console) {
    AlarmStoreActions::NewAlarm alarm;
    std::tie(alarm.hour, alarm.minute) = *AlarmText::ParseTimeOfDay(time_);
    alarm.days = *AlarmText::ParseDays(days_);
    alarm.description = ce::utf16_from_utf8(description_);
    if (!sound_.empty()) {
        if (const auto error = PlaceSound(sound_, &alarm.sound)) return console.fail(*error);
        // Refused now, with the player's reason, rather than silent at the alarm's time.
        if (const ce::DWORD code = SoundFileCheck::Check(alarm.sound); code != CSoundWave::kPlaying) {
            if (!sound_.starts_with("\\")) ce::DeleteFileW(alarm.sound.c_str());
            return console.fail("the player cannot play " + ce::utf8_from_utf16(alarm.sound) + ": " +
                                PlayVerb::result_text(code));
        }
    }
    alarm.volume = static_cast<std::uint16_t>(volume_);
    alarm.count = static_cast<std::uint16_t>(count_);
    alarm.pause = static_cast<std::uint16_t>(pause_);
    alarm.codebase = codebase_;
    alarm.beam_on_repeats = beam_on_repeats_;
    alarm.replay = static_cast<std::uint8_t>(replay_);
    alarm.active = !inactive_;

    AlarmStoreActions::Added added;
    if (const auto error = AlarmStoreActions::Add(alarm, &added)) return console.fail(*error);
    auto& out = console.out();
    out << "added " << ce::utf8_from_utf16(added.file_name) << ": " << AlarmText::TimeOfDay(alarm.hour, alarm.minute)
        << ' ' << AlarmText::FormatDays(alarm.days) << ", due "
        << (added.due ? format_local_time(*added.due) : "never");
    if (added.registered)
        out << "; the handheld wakes for it\n";
    else if (!added.wakes_for.empty())
        out << "; the handheld wakes first for " << ce::utf8_from_utf16(added.wakes_for) << '\n';
    else if (!added.missing_program.empty())
        out << "; nothing registered: " << ce::utf8_from_utf16(added.missing_program) << " is not installed\n";
    else
        out << "; nothing registered\n";
    // The alarm form saves a silent alarm only when "Play sound" is unticked, which a person
    // sees; an option left out is easily missed.
    if (sound_.empty()) console.note("the alarm rings without a sound; --sound FILE gives it one");
    return ExitCode::ok;
}

}  // namespace handheld
