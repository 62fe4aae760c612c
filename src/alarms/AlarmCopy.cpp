#include "alarms/AlarmCopy.h"

#include "alarms/AlarmNumbering.h"
#include "alarms/CAlarmDB.h"
#include "ce/Files.h"
#include "ce/Text.h"
#include "irlib/card/database_registry.h"

namespace {

constexpr std::u16string_view kAlarmExtension = u".kivo";

// "12.kivo" -> "12": the infrared database of an alarm is named after its file. The
// extension is compared as the file system compares names, so "12.KIVO" is "12" too.
std::u16string base_name(const std::u16string& file_name) {
    if (file_name.size() < kAlarmExtension.size()) return file_name;
    const std::u16string base = file_name.substr(0, file_name.size() - kAlarmExtension.size());
    const std::u16string extension = file_name.substr(base.size());
    return ce::lstrcmpiW(extension.c_str(), std::u16string(kAlarmExtension).c_str()) == 0 ? base : file_name;
}

void copy_infrared_database(const std::u16string& source, const std::u16string& target,
                            platform::card::database_registry& codebases) {
    const std::string source_name = ce::ansi_from_wide(base_name(source));
    if (!codebases.codebase_exists(source_name)) return;
    // A copy whose commands could not be copied still holds the alarm itself; beaming
    // then finds no database, as for an alarm whose database was removed.
    (void)codebases.copy_codebase(source_name, ce::ansi_from_wide(base_name(target)));
}

// Points the copy at its own infrared database and disarms it.
bool disarm(const std::u16string& path, const std::u16string& database_name) {
    CAlarmDB alarm;
    if (alarm.Open(path) != CAlarmDB::kOk) return false;
    return alarm.SetIrDatabase(database_name) == CAlarmDB::kOk && alarm.SetActive(0) == CAlarmDB::kOk;
}

}  // namespace

std::u16string AlarmCopy::MessageOf(Status status) {
    switch (status) {
        case Status::copied: return {};
        case Status::copy_failed: return u"Fail to copy Alert file";
        case Status::update_failed: return u"Fail to set Macro to Alert file";
    }
    return {};
}

AlarmCopy::Result AlarmCopy::Run(const std::u16string& folder, const std::u16string& source_name,
                                 platform::card::database_registry& codebases) {
    Result result;
    const auto number = AlarmNumbering::CopyNumber(folder, AlarmNumbering::TickNumber());
    if (!number) return result;
    const std::u16string target_name = AlarmNumbering::FileName(*number, kAlarmExtension);
    if (!ce::CopyFileW((folder + source_name).c_str(), (folder + target_name).c_str(), ce::TRUE)) return result;
    copy_infrared_database(source_name, target_name, codebases);

    if (!disarm(folder + target_name, base_name(target_name))) {
        // Left behind, the copy would be a second armed alarm beaming the source's
        // commands at the source's time.
        (void)codebases.delete_codebase(ce::ansi_from_wide(base_name(target_name)));
        const std::u16string target = folder + target_name;
        ce::SetFileAttributesW(target.c_str(), ce::FILE_ATTRIBUTE_NORMAL);  // a copy of a read-only file
        ce::DeleteFileW(target.c_str());
        result.status = Status::update_failed;
        return result;
    }
    result.status = Status::copied;
    result.file_name = target_name;
    return result;
}
