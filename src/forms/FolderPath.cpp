#include "forms/FolderPath.h"

#include "ce/Files.h"

bool FolderPath::IsFolder(const std::u16string& path) {
    const ce::DWORD attributes = ce::GetFileAttributesW(path.c_str());
    return attributes != ce::INVALID_FILE_ATTRIBUTES && (attributes & ce::FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool FolderPath::IsFile(const std::u16string& path) {
    const ce::DWORD attributes = ce::GetFileAttributesW(path.c_str());
    return attributes != ce::INVALID_FILE_ATTRIBUTES && (attributes & ce::FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::u16string FolderPath::Climb(const std::u16string& path) {
    std::u16string left = path;
    while (!left.empty() && !IsFolder(left)) {
        const auto separator = left.rfind(u'\\');
        if (separator == std::u16string::npos) return kRoot;
        left.erase(separator);
    }
    return left.empty() ? std::u16string(kRoot) : left;
}

std::u16string FolderPath::Rooted(const std::u16string& folder) {
    return !folder.empty() && folder.front() == u'\\' ? folder : u"\\" + folder;
}

std::u16string FolderPath::Join(const std::u16string& folder, const std::u16string& name) {
    if (!folder.empty() && folder.back() == u'\\') return folder + name;
    return folder + u'\\' + name;
}

std::u16string FolderPath::BoxText(const std::u16string& folder) {
    std::u16string text = folder;
    while (!text.empty() && text.front() == u'\\') text.erase(text.begin());
    while (!text.empty() && text.back() == u'\\') text.pop_back();
    return text.empty() ? std::u16string(kRootName) : text;
}
