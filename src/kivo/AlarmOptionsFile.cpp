#include "kivo/AlarmOptionsFile.h"

#include <string_view>
#include <vector>

#include "alarms/AlarmNumbering.h"
#include "alarms/AlarmStoreLock.h"
#include "alarms/ArmedTime.h"
#include "alarms/CAlarmDB.h"
#include "alarms/InterruptedSave.h"
#include "ce/Files.h"
#include "ce/Text.h"
#include "forms/CommandListCodebase.h"
#include "irlib/card/codebase.h"
#include "irlib/card/codebase_writer.h"
#include "irlib/card/database_registry.h"
#include "irlib/card/result_codes.h"
#include "irlib/card/signal_record.h"

namespace {

using Saved = AlarmOptionsFile::Saved;

constexpr std::u16string_view kStagingExtension = InterruptedSave::kStagingExtension;
constexpr std::u16string_view kSetAsideExtension = InterruptedSave::kSetAsideExtension;
constexpr std::u16string_view kCodebaseExtension = u".pdb";

platform::card::database_registry& codebases() { return platform::card::database_registry::instance(); }

bool exists(const std::u16string& path) { return ce::GetFileAttributesW(path.c_str()) != ce::INVALID_FILE_ATTRIBUTES; }

// "7.kivo" -> "7" + extension, in the same folder.
std::u16string with_extension(const std::u16string& path, std::u16string_view extension) {
    const std::size_t dot = path.find_last_of(u'.');
    const std::size_t folder_end = path.find_last_of(u'\\');
    const bool has_extension = dot != std::u16string::npos && (folder_end == std::u16string::npos || dot > folder_end);
    return (has_extension ? path.substr(0, dot) : path) + std::u16string(extension);
}

// The codebases an existing alarm's save replaces, moved out of the "*.pdb" search until
// the new alarm is in place: then they are deleted, after a failure they come back.
class SetAside {
public:
    SetAside() = default;
    SetAside(const SetAside&) = delete;
    SetAside& operator=(const SetAside&) = delete;
    ~SetAside() {
        if (!kept_) Restore();
    }

    bool Add(const std::u16string& path) {
        for (const auto& moved : paths_)
            if (ce::lstrcmpiW(moved.c_str(), path.c_str()) == 0) return true;
        if (!exists(path)) return true;
        const std::u16string aside = path + std::u16string(kSetAsideExtension);
        ce::SetFileAttributesW(aside.c_str(), ce::FILE_ATTRIBUTE_NORMAL);
        ce::DeleteFileW(aside.c_str());  // left by a save that ended with the program
        if (!ce::MoveFileW(path.c_str(), aside.c_str())) return false;
        paths_.push_back(path);
        codebases().rescan();
        return true;
    }
    // The save went through: the old codebases go for good.
    void Drop() {
        kept_ = true;
        for (const auto& path : paths_) {
            const std::u16string aside = path + std::u16string(kSetAsideExtension);
            ce::SetFileAttributesW(aside.c_str(), ce::FILE_ATTRIBUTE_NORMAL);
            ce::DeleteFileW(aside.c_str());
        }
        paths_.clear();
    }

private:
    void Restore() {
        for (const auto& path : paths_) {
            ce::DeleteFileW(path.c_str());  // what the failed save made in its place
            ce::MoveFileW((path + std::u16string(kSetAsideExtension)).c_str(), path.c_str());
        }
        if (!paths_.empty()) codebases().rescan();
        paths_.clear();
    }

    std::vector<std::u16string> paths_;
    bool kept_ = false;
};

// The staging copy, removed unless it took the alarm file's place.
class Staging {
public:
    explicit Staging(std::u16string path) : path_(std::move(path)) {}
    ~Staging() {
        alarm.Close();
        if (!placed_) {
            ce::SetFileAttributesW(path_.c_str(), ce::FILE_ATTRIBUTE_NORMAL);
            ce::DeleteFileW(path_.c_str());
        }
    }
    const std::u16string& Path() const { return path_; }
    void Placed() { placed_ = true; }

    CAlarmDB alarm;

private:
    std::u16string path_;
    bool placed_ = false;
};

// Starts the staging copy: a new alarm's empty file, or a copy of the existing one (its
// records the form does not show stay as they are). A read-only alarm cannot be changed.
bool begin(Staging& staging, const std::u16string& path, bool is_new) {
    ce::SetFileAttributesW(staging.Path().c_str(), ce::FILE_ATTRIBUTE_NORMAL);
    ce::DeleteFileW(staging.Path().c_str());
    if (is_new) return staging.alarm.Create(staging.Path()) == CAlarmDB::kOk;
    const ce::DWORD attributes = ce::GetFileAttributesW(path.c_str());
    if (attributes == ce::INVALID_FILE_ATTRIBUTES || (attributes & ce::FILE_ATTRIBUTE_READONLY) != 0) return false;
    if (!ce::CopyFileW(path.c_str(), staging.Path().c_str(), ce::FALSE)) return false;
    ce::SetFileAttributesW(staging.Path().c_str(), ce::FILE_ATTRIBUTE_NORMAL);
    return staging.alarm.Open(staging.Path()) == CAlarmDB::kOk && !staging.alarm.IsReadOnly();
}

bool write_alarm(CAlarmDB& alarm, const AlarmOptions& options) {
    if (alarm.SetDescription(options.description) != CAlarmDB::kOk) return false;
    if (alarm.SetAlarmTime(options.hour, options.minute) != CAlarmDB::kOk) return false;
    const bool settings = alarm.SetDays(options.days) == CAlarmDB::kOk &&
                          alarm.SetReplayInterval(static_cast<std::uint8_t>(options.replay_minutes)) == CAlarmDB::kOk &&
                          alarm.SetIrRepeat(static_cast<std::uint8_t>(options.beam_on_repeats)) == CAlarmDB::kOk &&
                          alarm.SetActive(1) == CAlarmDB::kOk && alarm.RemoveTag(AlarmTag::RefireTime) == CAlarmDB::kOk &&
                          alarm.SetPlaySound(options.play_sound ? 1 : 0) == CAlarmDB::kOk;
    if (!settings) return false;
    if (options.sound_path.empty()) {
        return alarm.RemoveTag(AlarmTag::SoundFile) == CAlarmDB::kOk &&
               alarm.RemoveTag(AlarmTag::SoundVolume) == CAlarmDB::kOk &&
               alarm.RemoveTag(AlarmTag::SoundRepeat) == CAlarmDB::kOk &&
               alarm.RemoveTag(AlarmTag::SoundPause) == CAlarmDB::kOk && alarm.SetPlaySound(0) == CAlarmDB::kOk;
    }
    return alarm.SetSoundFile(options.sound_path) == CAlarmDB::kOk &&
           alarm.SetSoundVolume(static_cast<std::uint16_t>(options.volume)) == CAlarmDB::kOk &&
           alarm.SetSoundPause(static_cast<std::uint16_t>(options.pause_seconds)) == CAlarmDB::kOk &&
           alarm.SetSoundRepeat(static_cast<std::uint16_t>(options.play_count)) == CAlarmDB::kOk;
}

// A fresh codebase `name` holding the command list as the macro "Alarm".
int write_codebase(const std::string& name, ItemDataArr& commands) {
    // Record 0 is the application header: four zero bytes, never read back.
    const std::uint8_t header[4] = {};
    int result = codebases().create_codebase(name, header);
    if (result != platform::card::kOk) return result;
    platform::card::codebase_writer writer;
    result = writer.open(name);
    if (result == platform::card::kOk) result = CommandListCodebase::Store(commands, writer);
    if (result == platform::card::kOk) result = writer.commit();
    writer.close();
    if (result != platform::card::kOk) (void)codebases().delete_codebase(name);
    return result;
}

void load_commands(const std::u16string& base_name, AlarmOptions& options) {
    if (base_name.empty()) return;
    platform::card::codebase base;
    if (base.open(ce::ansi_from_wide(base_name)) != platform::card::kOk) return;
    options.commands = CommandListCodebase::Load(base);
    base.close();
}

}  // namespace

std::u16string AlarmOptionsFile::StagingPath(const std::u16string& path) { return with_extension(path, kStagingExtension); }

std::u16string AlarmOptionsFile::BaseName(const std::u16string& path) {
    std::u16string name = path;
    if (const std::size_t dot = name.find_last_of(u'.'); dot != std::u16string::npos) name.erase(dot);
    if (const std::size_t folder_end = name.find_last_of(u'\\'); folder_end != std::u16string::npos)
        name.erase(0, folder_end + 1);
    return name;
}

bool AlarmOptionsFile::Load(const std::u16string& folder, const std::u16string& file_name, AlarmOptions& options) {
    AlarmStoreLock lock;
    if (!lock.Lock()) return false;
    InterruptedSave::Finish(folder);
    CAlarmDB alarm;
    if (alarm.Open(folder + file_name) != CAlarmDB::kOk) return false;
    // A damaged file reads as one without records: the form would show defaults that its
    // OK would save over the alarm.
    if (alarm.ReadRecordCount() < 0) return false;
    AlarmOptions loaded = options;

    std::u16string text;
    if (alarm.ReadDescription(text)) loaded.description = text;
    if (std::u16string sound; alarm.ReadSoundFile(sound)) {
        if (exists(sound)) loaded.sound_path = sound;
        else loaded.missing_sound = sound;
    }
    std::uint8_t byte = 0;
    loaded.play_sound = alarm.GetPlaySound(byte) == CAlarmDB::kOk && byte != 0;
    if (std::uint16_t word = 0; alarm.GetSoundVolume(word) == CAlarmDB::kOk) loaded.volume = word;
    if (std::uint16_t word = 0; alarm.GetSoundRepeat(word) == CAlarmDB::kOk) loaded.play_count = word;
    if (std::uint16_t word = 0; alarm.GetSoundPause(word) == CAlarmDB::kOk) loaded.pause_seconds = word;
    loaded.replay_minutes = alarm.GetReplayInterval(byte) == CAlarmDB::kOk ? byte : AlarmOptions::kDefaultReplayMinutes;
    loaded.beam_on_repeats = alarm.GetIrRepeat(byte) == CAlarmDB::kOk ? byte : 0;
    if (std::u16string database; alarm.ReadIrDatabase(database)) loaded.ir_database = BaseName(database);
    loaded.beam_ir = alarm.GetBeamIr(byte) == CAlarmDB::kOk && byte != 0;
    codebases().set_codebase_folder(folder);
    load_commands(loaded.ir_database, loaded);
    int hour = 0;
    int minute = 0;
    loaded.has_time = alarm.GetAlarmTime(hour, minute) == CAlarmDB::kOk;
    if (loaded.has_time) {
        loaded.hour = hour;
        loaded.minute = minute;
    }
    loaded.days = alarm.GetDays(byte) == CAlarmDB::kOk ? byte : 0;
    alarm.Close();
    options = std::move(loaded);
    return true;
}

AlarmOptionsFile::Saved AlarmOptionsFile::Save(const std::u16string& folder, std::u16string& file_name,
                                               AlarmOptions& options) {
    const bool is_new = file_name.empty();
    const std::u16string name = is_new ? AlarmNumbering::NewAlarmName(folder) : file_name;
    if (name.empty()) return Saved::no_file_name;
    const std::u16string path = folder + name;

    AlarmStoreLock lock;
    if (!lock.Lock()) return Saved::failed;
    InterruptedSave::Finish(folder);
    if (const auto holder = ArmedTime::Holder(folder, options.hour, options.minute);
        holder && ce::lstrcmpiW(holder->c_str(), name.c_str()) != 0)
        return Saved::same_time;
    Staging staging(StagingPath(path));
    if (!begin(staging, path, is_new) || !write_alarm(staging.alarm, options)) return Saved::failed;
    if (staging.alarm.RemoveTag(AlarmTag::IrDatabase) != CAlarmDB::kOk) return Saved::failed;

    codebases().set_codebase_folder(folder);
    SetAside old_codebases;
    // The alarm's own codebase is rebuilt from scratch, whatever it held before.
    if (!is_new && !old_codebases.Add(with_extension(path, kCodebaseExtension))) return Saved::failed;
    const bool beam = options.beam_ir && !options.commands.empty();
    if (staging.alarm.SetBeamIr(beam ? 1 : 0) != CAlarmDB::kOk) return Saved::failed;
    if (options.commands.empty()) {
        options.ir_database.clear();
    } else {
        if (options.ir_database.empty()) options.ir_database = BaseName(path);
        const std::string codebase = ce::ansi_from_wide(options.ir_database);
        // A second file of the same name would make the name stand for either of them.
        if (const auto* registered = codebases().find(codebase); registered != nullptr && !old_codebases.Add(registered->path))
            return Saved::failed;
        if (const int written = write_codebase(codebase, options.commands); written != platform::card::kOk)
            return written == platform::card::kBadSignal ? Saved::signal_too_long : Saved::macro_database;
        if (staging.alarm.SetIrDatabase(options.ir_database) != CAlarmDB::kOk) {
            (void)codebases().delete_codebase(codebase);
            return Saved::failed;
        }
    }
    staging.alarm.Close();
    const bool placed = is_new ? ce::MoveFileW(staging.Path().c_str(), path.c_str()) != ce::FALSE
                               : ce::ReplaceFileW(path.c_str(), staging.Path().c_str()) != ce::FALSE;
    if (!placed) {
        if (!options.commands.empty()) (void)codebases().delete_codebase(ce::ansi_from_wide(options.ir_database));
        return Saved::failed;
    }
    staging.Placed();
    old_codebases.Drop();
    codebases().rescan();
    file_name = name;
    return Saved::saved;
}
