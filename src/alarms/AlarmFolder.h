#pragma once
// Where the alarm store is: the folder "Alarms\" beside the running program. Both
// programs are installed in one folder, so both find the same store.

#include <string>
#include <string_view>

class AlarmFolder {
public:
    // The folder of the running program, ending in "\".
    static std::u16string ProgramFolder();
    // The path with its file name cut off, always ending in "\" ("\" for a bare name).
    static std::u16string ProgramFolderOf(std::u16string_view program_path);
    // ProgramFolder() followed by "Alarms\".
    static std::u16string Path();
    static std::u16string PathOf(std::u16string_view program_path);
};
