#include "AlarmStoreActions.h"

#include "ErrorText.h"

#include "alarms/AlarmDeletion.h"
#include "alarms/AlarmEnumerator.h"
#include "alarms/AlarmFolder.h"
#include "alarms/AlarmNumbering.h"
#include "alarms/AlarmStoreLock.h"
#include "alarms/ArmedTime.h"
#include "alarms/AlertKey.h"
#include "alarms/CAlarmDB.h"
#include "alarms/CAlarmScheduler.h"
#include "alarms/RefireTime.h"
#include "alarms/WallClock.h"
#include "ce/Files.h"
#include "ce/Text.h"
#include "irlib/card/database_registry.h"

namespace handheld {

namespace {

constexpr std::u16string_view kAlarmExtension = u".kivo";
constexpr const char* kLocked = "the alarm store is held by another program (waited 2 s)";

std::string utf8(std::u16string_view text) { return ce::utf8_from_utf16(text); }

// The codebases of the alarms folder, for the program's registry of them.
platform::card::database_registry& codebases(const std::u16string& folder) {
    auto& registry = platform::card::database_registry::instance();
    registry.set_codebase_folder(folder);
    return registry;
}

bool exists(const std::u16string& path) { return ce::GetFileAttributesW(path.c_str()) != ce::INVALID_FILE_ATTRIBUTES; }

// The host's reason behind a failed file call, when it left one (a full disk, ...).
std::string cause() {
    const ce::DWORD error = ce::GetLastError();
    return error == ce::ERROR_SUCCESS ? "" : ": " + error_text(error);
}

std::string failed_write(const char* what, int code) {
    return std::string("cannot write the alarm's ") + what + " (" + std::to_string(code) + ")" + cause();
}

}  // namespace

std::optional<std::string> AlarmStoreActions::Add(const NewAlarm& alarm, Added* added) {
    const std::u16string folder = AlarmFolder::Path();
    // As the main program does when its window opens: the store's folder must exist.
    ce::CreateDirectoryW(folder.substr(0, folder.size() - 1).c_str());
    AlarmStoreLock lock;
    if (!lock.Lock()) return kLocked;
    if (alarm.active)
        if (const auto holder = ArmedTime::Holder(folder, alarm.hour, alarm.minute))
            return utf8(ArmedTime::kRefusal) + " (" + utf8(*holder) +
                   " is armed at that time; --inactive adds this one disarmed)";
    const std::u16string name = AlarmNumbering::NewAlarmName(folder);
    if (name.empty()) return std::string("no free alarm number in ") + utf8(folder);
    // The alarm's commands live in its own database, named like its file.
    const std::u16string number = name.substr(0, name.size() - kAlarmExtension.size());
    std::u16string ir_database;
    if (!alarm.codebase.empty()) {
        auto& registry = codebases(folder);
        const std::string source = ce::ansi_from_wide(ce::utf16_from_utf8(alarm.codebase));
        if (!registry.codebase_exists(source)) return "no codebase '" + alarm.codebase + "' in " + utf8(folder);
        if (const int copied = registry.copy_codebase(source, ce::ansi_from_wide(number)); copied != 0)
            return "cannot copy the codebase '" + alarm.codebase + "' (" + std::to_string(copied) + ")";
        ir_database = number;
    }
    if (auto error = Write(folder + name, alarm, ir_database)) {
        ce::DeleteFileW((folder + name).c_str());
        if (!ir_database.empty()) (void)codebases(folder).delete_codebase(ce::ansi_from_wide(ir_database));
        return error;
    }
    lock.Unlock();

    CAlarmScheduler::Reschedule();
    added->file_name = name;
    if (!lock.Lock()) return std::nullopt;  // added; only when it is due stays unknown
    const Listed listed = Read(folder, name);
    added->due = listed.due;
    added->registered = listed.registered;
    added->wakes_for = AlertKey::Pending().value_or(u"");
    for (const auto& program : {CAlarmScheduler::AlertProgramPath(), CAlarmScheduler::WakeProgramPath()})
        if (!exists(program)) added->missing_program = program;
    return std::nullopt;
}

std::optional<std::string> AlarmStoreActions::Write(const std::u16string& path, const NewAlarm& alarm,
                                                const std::u16string& ir_database) {
    CAlarmDB file;
    ce::SetLastError(ce::ERROR_SUCCESS);
    if (const int created = file.Create(path); created != CAlarmDB::kOk)
        return "cannot create " + utf8(path) + " (" + std::to_string(created) + ")" + cause();
    std::optional<std::string> error;
    // Each record in turn; the first that cannot be written ends the alarm.
    const auto write = [&](const char* what, auto&& set) {
        if (error) return;
        ce::SetLastError(ce::ERROR_SUCCESS);
        if (const int code = set(); code != CAlarmDB::kOk) error = failed_write(what, code);
    };
    if (!alarm.description.empty()) write("description", [&] { return file.SetDescription(alarm.description); });
    write("time", [&] { return file.SetAlarmTime(alarm.hour, alarm.minute); });
    write("days", [&] { return file.SetDays(alarm.days); });
    write("sound", [&] { return file.SetSoundFile(alarm.sound); });
    if (!alarm.sound.empty()) {
        write("sound", [&] { return file.SetPlaySound(1); });
        write("volume", [&] { return file.SetSoundVolume(alarm.volume); });
        write("play count", [&] { return file.SetSoundRepeat(alarm.count); });
        write("pause", [&] { return file.SetSoundPause(alarm.pause); });
    }
    write("infrared database", [&] { return file.SetIrDatabase(ir_database); });
    if (!ir_database.empty()) write("infrared database", [&] { return file.SetBeamIr(1); });
    write("replay interval", [&] { return file.SetReplayInterval(alarm.replay); });
    write("infrared repeat", [&] { return file.SetIrRepeat(alarm.beam_on_repeats ? 1 : 0); });
    write("active flag", [&] { return file.SetActive(alarm.active ? 1 : 0); });
    file.Close();
    return error;
}

AlarmStoreActions::Listed AlarmStoreActions::Read(const std::u16string& folder, const std::u16string& file_name) {
    Listed listed;
    listed.file_name = file_name;
    CAlarmDB file;
    if (file.Open(folder + file_name) != CAlarmDB::kOk) return listed;
    int hour = 0, minute = 0, second = 0;
    if (file.GetAlarmTime(hour, minute) == CAlarmDB::kOk) listed.time = std::make_pair(hour, minute);
    std::uint8_t byte = 0;
    if (file.GetDays(byte) == CAlarmDB::kOk) listed.days = byte;
    listed.active = file.GetActive(byte) == CAlarmDB::kOk && byte == 1;
    if (file.GetRefireTime(hour, minute, second) == CAlarmDB::kOk && RefireTime::Pending(hour, minute))
        listed.repeat = std::array<int, 3>{hour, minute, second};
    file.ReadDescription(listed.description);
    if (file.GetPlaySound(byte) == CAlarmDB::kOk && byte == 1) file.ReadSoundFile(listed.sound);
    if (file.GetBeamIr(byte) == CAlarmDB::kOk && byte == 1) file.ReadIrDatabase(listed.ir_database);
    if (const auto due = CAlarmScheduler::NextDue(file, WallClock::Read())) listed.due = WallClock::LocalOf(*due);
    file.Close();
    const auto pending = AlertKey::Pending();
    listed.registered = pending && ce::lstrcmpiW(pending->c_str(), (folder + file_name).c_str()) == 0;
    return listed;
}

std::optional<std::string> AlarmStoreActions::List(std::vector<Listed>* alarms) {
    const std::u16string folder = AlarmFolder::Path();
    AlarmStoreLock lock;
    if (!lock.Lock()) return kLocked;
    for (const auto& name : AlarmEnumerator::FileNames(folder)) alarms->push_back(Read(folder, name));
    return std::nullopt;
}

std::optional<std::string> AlarmStoreActions::Remove(const std::string& name, std::u16string* removed) {
    const std::u16string folder = AlarmFolder::Path();
    std::u16string file_name = ce::utf16_from_utf8(name);
    const bool has_extension =
        file_name.size() > kAlarmExtension.size() &&
        ce::lstrcmpiW(file_name.substr(file_name.size() - kAlarmExtension.size()).c_str(),
                      std::u16string(kAlarmExtension).c_str()) == 0;
    if (!has_extension) file_name += kAlarmExtension;
    if (file_name.find(u'\\') != std::u16string::npos || !exists(folder + file_name))
        return "no alarm " + utf8(file_name) + " in " + utf8(folder);
    // Like the list's delete: the files go without the store lock, then a reschedule.
    if (!AlarmDeletion::Run(folder, file_name, codebases(folder))) return "cannot delete " + utf8(folder + file_name);
    CAlarmScheduler::Reschedule();
    *removed = file_name;
    return std::nullopt;
}

}  // namespace handheld
