#include "AttribVerb.h"

#include "ErrorText.h"
#include "FileText.h"
#include "ce/Files.h"
#include "ce/Text.h"

namespace handheld {

namespace {

// The attributes a program can change; the directory attribute belongs to the entry's kind.
constexpr ce::DWORD kSettable = ce::FILE_ATTRIBUTE_READONLY | ce::FILE_ATTRIBUTE_HIDDEN |
                                ce::FILE_ATTRIBUTE_SYSTEM | ce::FILE_ATTRIBUTE_ARCHIVE;

}  // namespace

std::string_view AttribVerb::help() const {
    return "usage: handheld attrib PATH [+a|-a|+r|-r|+h|-h|+s|-s]...\n"
           "\n"
           "Shows the attributes of a file or folder of the handheld, after applying the changes\n"
           "given: + sets, - clears a (archive), r (read-only), h (hidden) or s (system).\n"
           "\n"
           "  PATH  a device path; / may stand for \\ and the leading \\ may be left out\n"
           "\n"
           "examples:\n"
           "  handheld attrib '\\My Documents\\alarm.wav' +r -a\n"
           "  handheld attrib '\\Program Files\\KIVO'\n";
}

std::optional<AttribVerb::Change> AttribVerb::parse_change(std::string_view word) {
    if (word.size() != 2 || (word[0] != '+' && word[0] != '-')) return std::nullopt;
    ce::DWORD bit = 0;
    switch (word[1]) {
        case 'a': case 'A': bit = ce::FILE_ATTRIBUTE_ARCHIVE; break;
        case 'r': case 'R': bit = ce::FILE_ATTRIBUTE_READONLY; break;
        case 'h': case 'H': bit = ce::FILE_ATTRIBUTE_HIDDEN; break;
        case 's': case 'S': bit = ce::FILE_ATTRIBUTE_SYSTEM; break;
        default: return std::nullopt;
    }
    return word[0] == '+' ? Change{bit, 0} : Change{0, bit};
}

ExitCode AttribVerb::run(const std::vector<std::string>& arguments, Console& console) {
    if (arguments.empty()) return console.usage("needs a PATH");
    Change total;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const auto change = parse_change(arguments[i]);
        if (!change) return console.usage("unknown change '" + arguments[i] + "'; use +a -a +r -r +h -h +s -s");
        // The later of two changes to one attribute wins.
        total.set = (total.set & ~change->clear) | change->set;
        total.clear = (total.clear & ~change->set) | change->clear;
    }
    const std::u16string path = device_path_from_argument(arguments[0]);
    const std::string shown = ce::utf8_from_utf16(path);
    ce::DWORD attributes = ce::GetFileAttributesW(path.c_str());
    if (attributes == ce::INVALID_FILE_ATTRIBUTES) return console.fail(shown + ": " + error_text(ce::GetLastError()));
    if (total.set != 0 || total.clear != 0) {
        const ce::DWORD wanted = ((attributes & kSettable) | total.set) & ~total.clear;
        if (!ce::SetFileAttributesW(path.c_str(), wanted == 0 ? ce::FILE_ATTRIBUTE_NORMAL : wanted))
            return console.fail("cannot change " + shown + ": " + error_text(ce::GetLastError()));
        attributes = ce::GetFileAttributesW(path.c_str());
        if (attributes == ce::INVALID_FILE_ATTRIBUTES)
            return console.fail(shown + ": " + error_text(ce::GetLastError()));
    }
    console.out() << attribute_letters(attributes) << "  " << shown << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
