#include "forms/FileEntry.h"

#include <algorithm>

#include "ce/Locale.h"
#include "ce/Text.h"
#include "ce/Time.h"

namespace {

constexpr std::uint64_t kKilobyte = 1024;
constexpr std::uint64_t kMegabyte = 1024 * 1024;

std::u16string number(std::uint64_t value) { return ce::utf16_from_utf8(std::to_string(value)); }

char16_t folded(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

}  // namespace

FileEntry FileEntry::From(const ce::WIN32_FIND_DATAW& found) {
    FileEntry entry;
    entry.name = found.cFileName;
    entry.is_file = (found.dwFileAttributes & ce::FILE_ATTRIBUTE_DIRECTORY) == 0;
    entry.size_text = SizeText(static_cast<std::uint64_t>(found.nFileSizeHigh) << 32 | found.nFileSizeLow);
    entry.date_text = DateText(found.ftCreationTime);
    return entry;
}

std::u16string FileEntry::SizeText(std::uint64_t bytes) {
    if (bytes < kKilobyte) return number(bytes) + u"B";
    if (bytes < kMegabyte) return number(bytes / kKilobyte) + u"K";
    return number(bytes / kMegabyte) + u"," + number(bytes % kMegabyte * 10 / kMegabyte) + u"M";
}

std::u16string FileEntry::DateText(const ce::FILETIME& created) {
    ce::SYSTEMTIME utc;
    ce::SYSTEMTIME local;
    if (ce::FileTimeToSystemTime(&created, &utc) == ce::FALSE) return {};
    if (ce::SystemTimeToLocalTime(&utc, &local) == ce::FALSE) local = utc;
    char16_t text[40] = {};
    if (ce::GetDateFormatW(ce::LOCALE_USER_DEFAULT, ce::DATE_SHORTDATE, &local, nullptr, text, 40) == 0) return {};
    return text;
}

int FileEntry::CompareNames(const std::u16string& a, const std::u16string& b) {
    const std::size_t common = std::min(a.size(), b.size());
    for (std::size_t at = 0; at < common; ++at)
        if (folded(a[at]) != folded(b[at])) return folded(a[at]) < folded(b[at]) ? -1 : 1;
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b) < 0 ? -1 : a.compare(b) > 0 ? 1 : 0;
}

bool FileEntry::SameName(const std::u16string& a, const std::u16string& b) {
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(), [](char16_t x, char16_t y) { return folded(x) == folded(y); });
}

bool FileEntry::operator<(const FileEntry& other) const {
    if (is_file != other.is_file) return !is_file;
    return CompareNames(name, other.name) < 0;
}
