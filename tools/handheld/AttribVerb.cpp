#include "AttribVerb.h"

#include "Arguments.h"
#include "ErrorText.h"
#include "FileText.h"
#include "ce/Files.h"
#include "ce/Text.h"

namespace handheld {

namespace {

// The attributes a program can change; the directory attribute belongs to the entry's kind.
constexpr ce::DWORD kSettable = ce::FILE_ATTRIBUTE_READONLY | ce::FILE_ATTRIBUTE_HIDDEN |
                                ce::FILE_ATTRIBUTE_SYSTEM | ce::FILE_ATTRIBUTE_ARCHIVE;

struct Letter {
    char letter;
    ce::DWORD bit;
    const char* name;
};

constexpr Letter kLetters[] = {{'a', ce::FILE_ATTRIBUTE_ARCHIVE, "archive"},
                               {'r', ce::FILE_ATTRIBUTE_READONLY, "read-only"},
                               {'h', ce::FILE_ATTRIBUTE_HIDDEN, "hidden"},
                               {'s', ce::FILE_ATTRIBUTE_SYSTEM, "system"}};

// The attribute of "+r" or "+R"; nothing for any other word.
std::optional<ce::DWORD> set_word(const std::string& word) {
    for (const auto& letter : kLetters)
        if (same_word(word, std::string{'+', letter.letter})) return letter.bit;
    return std::nullopt;
}

}  // namespace

void AttribVerb::declare(CLI::App& command) {
    describe(
        "Shows the attributes of a file or folder of the handheld, after applying the changes\n"
        "given in order: +X sets, -X clears a (archive), r (read-only), h (hidden) or s (system).");
    command.add_option("PATH", path_, "a device path; / may stand for \\ and the leading \\ may be left out")
        ->required();
    sets_ = command.add_option("CHANGE", set_words_, "+a, +r, +h or +s sets that attribute")
        ->check([](const std::string& word) -> std::string {
            return set_word(word) ? "" : "unknown change '" + word + "'; use +a -a +r -r +h -h +s -s";
        });
    for (const auto& letter : kLetters) {
        CLI::Option* flag = command.add_flag(std::string("-") + letter.letter)->ignore_case();
        flag->description(std::string("clears ") + letter.name);
        clears_.push_back({flag, letter.bit});
    }
    command.footer(
        "examples:\n"
        "  handheld attrib '\\My Documents\\alarm.wav' +r -a\n"
        "  handheld attrib '\\Program Files\\KIVO'");
}

AttribVerb::Change AttribVerb::changes() const {
    Change total;
    std::size_t next_set = 0;
    // The parser keeps the order of the words; the later of two changes to one attribute wins.
    for (const CLI::Option* option : command().parse_order()) {
        Change change;
        if (option == sets_) change.set = set_word(set_words_[next_set++]).value_or(0);
        for (const auto& [flag, bit] : clears_)
            if (option == flag) change.clear = bit;
        total.set = (total.set & ~change.clear) | change.set;
        total.clear = (total.clear & ~change.set) | change.clear;
    }
    return total;
}

ExitCode AttribVerb::run(Console& console) {
    const Change total = changes();
    const std::u16string path = device_path_from_argument(path_);
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
