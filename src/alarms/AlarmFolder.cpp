#include "alarms/AlarmFolder.h"

#include "ce/Shell.h"

std::u16string AlarmFolder::ProgramFolder() {
    char16_t path[ce::MAX_PATH];
    const ce::DWORD length = ce::GetModuleFileNameW(nullptr, path, ce::MAX_PATH);
    // A path cut short would name some other folder; the root is a plainer failure.
    if (length == 0 || length >= ce::MAX_PATH) return u"\\";
    return ProgramFolderOf(std::u16string_view(path, length));
}

std::u16string AlarmFolder::ProgramFolderOf(std::u16string_view program_path) {
    // Only the last component is the file name: a folder may contain the program's name
    // ("\KIVO.exe backup\KIVO.exe") and a renamed program must still find its folder.
    const auto slash = program_path.rfind(u'\\');
    if (slash == std::u16string_view::npos) return u"\\";
    return std::u16string(program_path.substr(0, slash + 1));
}

std::u16string AlarmFolder::Path() { return ProgramFolder() + u"Alarms\\"; }

std::u16string AlarmFolder::PathOf(std::u16string_view program_path) {
    return ProgramFolderOf(program_path) + u"Alarms\\";
}
