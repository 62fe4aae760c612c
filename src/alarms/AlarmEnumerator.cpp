#include "alarms/AlarmEnumerator.h"

#include "ce/Files.h"

std::vector<std::u16string> AlarmEnumerator::FileNames(const std::u16string& folder) {
    std::vector<std::u16string> names;
    ce::WIN32_FIND_DATAW found;
    const std::u16string pattern = folder + u"*.kivo";
    ce::HANDLE search = ce::FindFirstFileW(pattern.c_str(), &found);
    if (search == ce::INVALID_HANDLE_VALUE) return names;
    do {
        // A folder called "x.kivo" is not an alarm.
        if ((found.dwFileAttributes & ce::FILE_ATTRIBUTE_DIRECTORY) == 0) names.emplace_back(found.cFileName);
    } while (ce::FindNextFileW(search, &found));
    ce::FindClose(search);
    return names;
}
