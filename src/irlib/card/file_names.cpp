#include "irlib/card/file_names.h"

#include "ce/Files.h"
#include "ce/Text.h"
#include "irlib/card/result_codes.h"

namespace platform::card {

namespace {

constexpr std::u16string_view kExtension = u".pdb";
constexpr std::u16string_view kReplaced = u" \\/:?*\"<>|";

bool entry_exists(const std::u16string& path) {
    return ce::GetFileAttributesW(path.c_str()) != ce::INVALID_FILE_ATTRIBUTES;
}

std::u16string number_text(unsigned number) {
    std::u16string text;
    do {
        text.insert(text.begin(), static_cast<char16_t>(u'0' + number % 10));
        number /= 10;
    } while (number != 0);
    return text;
}

}  // namespace

std::u16string sanitise_name(std::string_view name) {
    std::u16string wide = ce::wide_from_ansi(name);
    for (char16_t& c : wide)
        if (kReplaced.find(c) != std::u16string_view::npos) c = u'_';
    return wide;
}

int make_database_path(const std::u16string& folder, std::string_view name, std::u16string& path) {
    const std::u16string base = folder + sanitise_name(name);
    path = base + std::u16string(kExtension);
    for (unsigned suffix = 1; path.size() < ce::MAX_PATH; ++suffix) {
        if (!entry_exists(path)) return kOk;
        path = base + u"_" + number_text(suffix) + std::u16string(kExtension);
    }
    path.clear();
    return kNoFreeFileName;
}

std::u16string staging_path(const std::u16string& path) {
    const std::size_t dot = path.find_last_of(u'.');
    const std::size_t folder_end = path.find_last_of(u'\\');
    const bool three_letter_extension = dot != std::u16string::npos && dot + 4 == path.size() &&
                                        (folder_end == std::u16string::npos || dot > folder_end);
    if (three_letter_extension) return path.substr(0, dot) + u".~db";
    return path + u".~db";
}

}  // namespace platform::card
