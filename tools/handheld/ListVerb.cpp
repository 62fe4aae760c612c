#include "ListVerb.h"

#include <cstdint>
#include <cstdio>

#include "ErrorText.h"
#include "FileText.h"
#include "ce/Text.h"

namespace handheld {

namespace {

bool has_wildcard(const std::u16string& path) { return path.find_first_of(u"*?") != std::u16string::npos; }

std::u16string entry_name(const ce::WIN32_FIND_DATAW& entry) {
    std::u16string name(entry.cFileName, ce::MAX_PATH);
    if (const auto end = name.find(u'\0'); end != std::u16string::npos) name.resize(end);
    return name;
}

}  // namespace

void ListVerb::declare(CLI::App& command) {
    describe(
        "Lists a folder of the handheld (the root \\ when no PATH is given), one entry a line:\n"
        "attributes (d folder, r read-only, h hidden, s system, a archive), size in bytes and\n"
        "name, in the order the handheld's file system returns them. A file's PATH lists the\n"
        "file alone; * and ? in the last component list what matches.");
    command.add_option("PATH", path_, "a device path; / may stand for \\ and the leading \\ may be left out");
    command.footer(
        "examples:\n"
        "  handheld ls '\\Program Files\\KIVO'\n"
        "  handheld ls 'My Documents/*.wav'");
}

ExitCode ListVerb::run(Console& console) {
    const std::u16string path = device_path_from_argument(path_);
    if (has_wildcard(path)) return list(path, console);
    if (path == u"\\") return list(u"\\*", console);
    const ce::DWORD attributes = ce::GetFileAttributesW(path.c_str());
    if (attributes == ce::INVALID_FILE_ATTRIBUTES)
        return console.fail(ce::utf8_from_utf16(path) + ": " + error_text(ce::GetLastError()));
    if ((attributes & ce::FILE_ATTRIBUTE_DIRECTORY) == 0) return list(path, console);
    return list(path + u"\\*", console);
}

ExitCode ListVerb::list(const std::u16string& pattern, Console& console) {
    ce::WIN32_FIND_DATAW entry;
    const ce::HANDLE search = ce::FindFirstFileW(pattern.c_str(), &entry);
    if (search == ce::INVALID_HANDLE_VALUE) {
        const ce::DWORD error = ce::GetLastError();
        // An empty folder or a pattern that matches nothing is an empty listing.
        if (error == ce::ERROR_NO_MORE_FILES || error == ce::ERROR_FILE_NOT_FOUND) return ExitCode::ok;
        return console.fail(ce::utf8_from_utf16(pattern) + ": " + error_text(error));
    }
    do {
        print_entry(entry, console);
    } while (ce::FindNextFileW(search, &entry));
    const ce::DWORD error = ce::GetLastError();
    ce::FindClose(search);
    if (error != ce::ERROR_NO_MORE_FILES) return console.fail("listing stopped: " + error_text(error));
    return ExitCode::ok;
}

void ListVerb::print_entry(const ce::WIN32_FIND_DATAW& entry, Console& console) {
    const std::u16string name = entry_name(entry);
    if (name == u"." || name == u"..") return;
    char size[24] = "";
    if ((entry.dwFileAttributes & ce::FILE_ATTRIBUTE_DIRECTORY) == 0) {
        const std::uint64_t bytes = (std::uint64_t{entry.nFileSizeHigh} << 32) | entry.nFileSizeLow;
        std::snprintf(size, sizeof size, "%llu", static_cast<unsigned long long>(bytes));
    }
    char size_column[24];
    std::snprintf(size_column, sizeof size_column, "%10s", size);
    console.out() << attribute_letters(entry.dwFileAttributes) << ' ' << size_column << "  "
                  << ce::utf8_from_utf16(name) << '\n';
}

}  // namespace handheld
