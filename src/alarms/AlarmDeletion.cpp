#include "alarms/AlarmDeletion.h"

#include "ce/Files.h"
#include "irlib/card/database_registry.h"

namespace {

// The alarm's path with ".kivo" replaced by ".pdb".
std::u16string database_path_of(const std::u16string& alarm_path) {
    const auto dot = alarm_path.rfind(u'.');
    const auto slash = alarm_path.rfind(u'\\');
    const bool has_extension = dot != std::u16string::npos && (slash == std::u16string::npos || dot > slash);
    return (has_extension ? alarm_path.substr(0, dot) : alarm_path) + u".pdb";
}

}  // namespace

bool AlarmDeletion::Run(const std::u16string& folder, const std::u16string& file_name,
                        platform::card::database_registry& codebases) {
    const std::u16string path = folder + file_name;
    if (!ce::DeleteFileW(path.c_str())) return false;
    // An alarm without commands has no database: nothing to delete is fine.
    ce::DeleteFileW(database_path_of(path).c_str());
    codebases.rescan();
    return true;
}
