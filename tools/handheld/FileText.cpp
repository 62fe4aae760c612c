#include "FileText.h"

#include "ce/Files.h"
#include "ce/Text.h"

namespace handheld {

std::u16string device_path_from_argument(std::string_view argument) {
    std::u16string path = ce::utf16_from_utf8(argument);
    for (auto& c : path)
        if (c == u'/') c = u'\\';
    if (path.empty() || path.front() != u'\\') path.insert(path.begin(), u'\\');
    while (path.size() > 1 && path.back() == u'\\') path.pop_back();
    return path;
}

std::string attribute_letters(ce::DWORD attributes) {
    struct Column {
        ce::DWORD bit;
        char letter;
    };
    static constexpr Column kColumns[] = {{ce::FILE_ATTRIBUTE_DIRECTORY, 'd'},
                                          {ce::FILE_ATTRIBUTE_READONLY, 'r'},
                                          {ce::FILE_ATTRIBUTE_HIDDEN, 'h'},
                                          {ce::FILE_ATTRIBUTE_SYSTEM, 's'},
                                          {ce::FILE_ATTRIBUTE_ARCHIVE, 'a'}};
    std::string letters;
    for (const auto& column : kColumns) letters += (attributes & column.bit) != 0 ? column.letter : '-';
    return letters;
}

}  // namespace handheld
