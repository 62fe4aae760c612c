#include "alarms/AlarmEnumerator.h"

#include "ce/Files.h"
#include "ce/Text.h"

namespace {

constexpr std::u16string_view kExtension = u".kivo";

std::vector<AlarmEnumerator::File> list(const std::u16string& folder, ce::FINDEX_INFO_LEVELS level) {
    std::vector<AlarmEnumerator::File> files;
    ce::WIN32_FIND_DATAW found;
    const std::u16string pattern = folder + u"*.kivo";
    ce::HANDLE search = ce::FindFirstFileExW(pattern.c_str(), level, &found);
    if (search == ce::INVALID_HANDLE_VALUE) return files;
    do {
        // A folder called "x.kivo" is not an alarm.
        if ((found.dwFileAttributes & ce::FILE_ATTRIBUTE_DIRECTORY) == 0)
            files.push_back({found.cFileName, found.dwFileAttributes});
    } while (ce::FindNextFileW(search, &found));
    ce::FindClose(search);
    return files;
}

}  // namespace

// The callers of the names open every file anyway: the listing need not ask each for
// its attributes.
std::vector<std::u16string> AlarmEnumerator::FileNames(const std::u16string& folder) {
    std::vector<std::u16string> names;
    for (auto& file : list(folder, ce::FindExInfoNames)) names.push_back(std::move(file.name));
    return names;
}

std::vector<AlarmEnumerator::File> AlarmEnumerator::Files(const std::u16string& folder) {
    return list(folder, ce::FindExInfoStandard);
}

bool AlarmEnumerator::IsAlarmName(const std::u16string& name) {
    if (name.size() <= kExtension.size()) return false;
    const std::u16string extension = name.substr(name.size() - kExtension.size());
    return ce::lstrcmpiW(extension.c_str(), std::u16string(kExtension).c_str()) == 0;
}
