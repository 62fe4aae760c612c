#include "alarms/InterruptedSave.h"

#include <vector>

#include "ce/Files.h"
#include "ce/Text.h"

namespace {

bool ends_with(const std::u16string& name, std::u16string_view suffix) {
    return name.size() > suffix.size() &&
           ce::lstrcmpiW(name.substr(name.size() - suffix.size()).c_str(), std::u16string(suffix).c_str()) == 0;
}

void delete_file(const std::u16string& path) {
    ce::SetFileAttributesW(path.c_str(), ce::FILE_ATTRIBUTE_NORMAL);
    ce::DeleteFileW(path.c_str());
}

}  // namespace

void InterruptedSave::Finish(const std::u16string& folder) {
    // One search for both kinds: nearly always it finds neither.
    std::vector<std::u16string> set_aside;
    std::vector<std::u16string> staged;
    ce::WIN32_FIND_DATAW found;
    const std::u16string pattern = folder + u"*.~*";
    ce::HANDLE search = ce::FindFirstFileW(pattern.c_str(), &found);
    if (search == ce::INVALID_HANDLE_VALUE) return;
    do {
        if ((found.dwFileAttributes & ce::FILE_ATTRIBUTE_DIRECTORY) != 0) continue;
        const std::u16string name = found.cFileName;
        if (ends_with(name, kSetAsideExtension)) set_aside.push_back(folder + name);
        if (ends_with(name, kStagingExtension)) staged.push_back(folder + name);
    } while (ce::FindNextFileW(search, &found));
    ce::FindClose(search);

    const bool took_effect = staged.empty();
    for (const auto& aside : set_aside) {
        const std::u16string original = aside.substr(0, aside.size() - kSetAsideExtension.size());
        if (took_effect) {
            delete_file(aside);
            continue;
        }
        delete_file(original);  // what the save began to write in its place
        ce::MoveFileW(aside.c_str(), original.c_str());
    }
    for (const auto& staging : staged) delete_file(staging);
}
