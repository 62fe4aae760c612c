#pragma once
// The alarms of the store: the "*.kivo" files of the alarms folder, in the order the
// file system returns them. There is no index; other files are not alarms.

#include <string>
#include <vector>

#include "ce/Types.h"

class AlarmEnumerator {
public:
    struct File {
        std::u16string name;  // without folder
        ce::DWORD attributes;  // as the listing found them
    };

    // File names without folder; empty for an empty or missing folder.
    static std::vector<std::u16string> FileNames(const std::u16string& folder);
    // The same with each file's attributes, which the listing has anyway: a caller that
    // wants them need not ask for them file by file again.
    static std::vector<File> Files(const std::u16string& folder);
    // Whether a name of the alarms folder is an alarm's ("*.kivo", in any case).
    static bool IsAlarmName(const std::u16string& name);
};
