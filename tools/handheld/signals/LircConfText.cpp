#include "signals/LircConfText.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>

#include "signals/SignalText.h"

namespace handheld {

namespace {

// The longest data word a remote's codes are kept in.
constexpr unsigned kLongestCode = 64;
// Beyond any remote's button count or raw code length; keeps a hostile file small.
constexpr std::size_t kMostButtons = 4096, kMostRawEntries = 1024;
constexpr std::uint32_t kMostRepeats = 64;
// Gaps only keep presses apart; some files give more than a second, which is sent as one.
constexpr std::uint64_t kLongestGapUs = 10'000'000;

enum class Section { outside, remote, codes, raw_codes };

class Reader {
public:
    explicit Reader(LircConfResult& result) : result_(result) {}

    bool line(int row, std::string_view text) {
        row_ = row;
        const std::vector<std::string> words = Words(text);
        if (words.empty()) return true;
        if (words[0] == "begin" || words[0] == "end") return block(words);
        switch (section_) {
            case Section::outside:
                if (words[0] == "include") return fail("include is not followed; give the remote's own file");
                return fail("expected 'begin remote', found " + SignalText::Quoted(words[0]));
            case Section::remote: return parameter(words);
            case Section::codes: return code(words);
            case Section::raw_codes: return raw(words);
        }
        return true;
    }

    bool finish() {
        if (section_ != Section::outside) return fail("the file ends inside a block ('end remote' missing)");
        if (result_.remotes.empty()) {
            result_.error = "the file holds no remote";
            return false;
        }
        return true;
    }

private:
    // '#' begins a comment where it begins a word; yet "D#" names a button, and so does
    // a lone "#" before its code (LIRC's own files have both).
    std::vector<std::string> Words(std::string_view text) const {
        std::vector<std::string> words = SignalText::Words(text);
        if (section_ == Section::codes && words.size() == 2 && words[0] == "#" && words[1][0] >= '0' && words[1][0] <= '9')
            return words;
        const auto comment = std::find_if(words.begin(), words.end(), [](const std::string& word) { return word[0] == '#'; });
        words.erase(comment, words.end());
        return words;
    }

    // A note for the listing of the whole file, and for the remote or button it concerns.
    void note(std::vector<std::string>& owner, const std::string& text) {
        result_.notes.push_back(text);
        owner.push_back(text);
    }

    LircButton* find(const std::string& name) {
        for (LircButton& button : remote_.buttons)
            if (button.name == name) return &button;
        return nullptr;
    }

    bool fail(const std::string& why) {
        result_.error = "line " + std::to_string(row_) + ": " + why;
        return false;
    }

    bool block(const std::vector<std::string>& words) {
        const std::string what = words.size() > 1 ? words[1] : std::string();
        if (words.size() != 2) return fail("expected '" + words[0] + "' and a block name");
        if (words[0] == "begin") {
            if (what == "remote" && section_ == Section::outside) {
                section_ = Section::remote;
                remote_ = LircRemote{};
                remote_.line = row_;
                seen_.clear();
                return true;
            }
            if ((what == "codes" || what == "raw_codes") && section_ == Section::remote) {
                if (what == "raw_codes") remote_.flags |= LircRemote::kRawCodes;
                else if ((remote_.flags & LircRemote::kRawCodes) != 0) return fail("a RAW_CODES remote lists 'begin codes' (its buttons go in 'begin raw_codes')");
                section_ = what == "codes" ? Section::codes : Section::raw_codes;
                return true;
            }
        } else if (what == "codes" && section_ == Section::codes) {
            section_ = Section::remote;
            return true;
        } else if (what == "raw_codes" && section_ == Section::raw_codes) {
            if (!remote_.buttons.empty() && remote_.buttons.back().raw.empty()) return fail("raw code " + SignalText::Quoted(remote_.buttons.back().name) + " has no durations");
            section_ = Section::remote;
            return true;
        } else if (what == "remote" && section_ == Section::remote) {
            section_ = Section::outside;
            return close_remote();
        }
        return fail("unexpected " + SignalText::Quoted(words[0] + " " + what));
    }

    bool close_remote() {
        if (remote_.name.empty()) return fail("the remote of line " + std::to_string(remote_.line) + " has no name");
        if ((remote_.flags & LircRemote::kRawCodes) == 0) {
            if (remote_.pre_data_bits + remote_.bits + remote_.post_data_bits > kLongestCode)
                return fail("remote " + SignalText::Quoted(remote_.name) + " has more than 64 bits in pre_data, code and post_data");
            if ((remote_.flags & LircRemote::kRcmm) != 0 && (remote_.bits % 2 != 0 || remote_.pre_data_bits % 2 != 0 || remote_.post_data_bits % 2 != 0))
                return fail("RC-MM remote " + SignalText::Quoted(remote_.name) + " sends its bits in pairs: the bit counts must be even");
            const unsigned total = remote_.pre_data_bits + remote_.bits + remote_.post_data_bits;
            if (toggle_bit_ != 0 && toggle_bit_ <= total) remote_.toggle_mask |= std::uint64_t{1} << (total - toggle_bit_);
        }
        toggle_bit_ = 0;
        result_.remotes.push_back(std::move(remote_));
        return true;
    }

    std::optional<std::uint64_t> number(const std::string& word) {
        if (word.size() > 2 && word[0] == '0' && (word[1] == 'x' || word[1] == 'X')) return SignalText::Number(std::string_view(word).substr(2), 16);
        return SignalText::Number(word);
    }

    bool value(const std::string& key, const std::string& word, std::uint64_t highest, std::uint64_t& out) {
        const auto n = number(word);
        if (!n) return fail(key + " " + SignalText::Quoted(word) + " is not a number");
        if (*n > highest) return fail(key + " " + std::to_string(*n) + " is out of range (at most " + std::to_string(highest) + ")");
        out = *n;
        return true;
    }

    bool duration(const std::string& key, const std::string& word, std::uint32_t& out) {
        std::uint64_t n = 0;
        if (!value(key, word, static_cast<std::uint64_t>(InfraredSignal::kLongestEntryUs), n)) return false;
        out = static_cast<std::uint32_t>(n);
        return true;
    }

    bool flags(const std::string& text) {
        static const std::map<std::string, std::uint32_t> kKnown = {
            {"RC5", LircRemote::kShiftEnc},          {"SHIFT_ENC", LircRemote::kShiftEnc},
            {"RC6", LircRemote::kRc6},               {"RCMM", LircRemote::kRcmm},
            {"SPACE_ENC", LircRemote::kSpaceEnc},    {"REVERSE", LircRemote::kReverse},
            {"NO_HEAD_REP", LircRemote::kNoHeadRep}, {"NO_FOOT_REP", LircRemote::kNoFootRep},
            {"CONST_LENGTH", LircRemote::kConstLength}, {"REPEAT_HEADER", LircRemote::kRepeatHeader},
            {"RAW_CODES", LircRemote::kRawCodes}};
        std::size_t at = 0;
        while (at <= text.size()) {
            const std::size_t end = std::min(text.find('|', at), text.size());
            const std::string flag = text.substr(at, end - at);
            at = end + 1;
            const auto known = kKnown.find(flag);
            if (known == kKnown.end()) return fail("flag " + SignalText::Quoted(flag) + " is not one KIVO sends (RC5, SHIFT_ENC, RC6, RCMM, SPACE_ENC and their modifiers)");
            remote_.flags |= known->second;
        }
        const std::uint32_t encodings = remote_.flags & (LircRemote::kShiftEnc | LircRemote::kRc6 | LircRemote::kRcmm | LircRemote::kSpaceEnc);
        if ((encodings & (encodings - 1)) != 0) return fail("flags name more than one encoding");
        return true;
    }

    bool parameter(const std::vector<std::string>& words) {
        const std::string& key = words[0];
        if (!seen_.insert(key).second) return fail(SignalText::Quoted(key) + " given twice");
        static const std::map<std::string, LircPair LircRemote::*> kPairs = {
            {"header", &LircRemote::header}, {"zero", &LircRemote::zero}, {"one", &LircRemote::one},
            {"two", &LircRemote::two},       {"three", &LircRemote::three}, {"pre", &LircRemote::pre},
            {"post", &LircRemote::post},     {"foot", &LircRemote::foot},  {"repeat", &LircRemote::repeat}};
        static const std::map<std::string, std::uint32_t LircRemote::*> kDurations = {
            {"plead", &LircRemote::plead}, {"ptrail", &LircRemote::ptrail}};
        static const std::map<std::string, std::uint32_t LircRemote::*> kGaps = {
            {"gap", &LircRemote::gap}, {"repeat_gap", &LircRemote::repeat_gap}};
        if (key == "name") {
            if (words.size() != 2) return fail("name takes one word");
            remote_.name = words[1];
            return true;
        }
        if (key == "flags") return words.size() == 2 ? flags(words[1]) : fail("flags are one word, joined by '|'");
        if (const auto pair = kPairs.find(key); pair != kPairs.end()) {
            if (words.size() != 3) return fail(key + " takes a pulse and a space");
            return duration(key, words[1], (remote_.*pair->second).pulse) && duration(key, words[2], (remote_.*pair->second).space);
        }
        if (const auto single = kDurations.find(key); single != kDurations.end()) {
            if (words.size() != 2) return fail(key + " takes one duration");
            return duration(key, words[1], remote_.*single->second);
        }
        if (const auto gap = kGaps.find(key); gap != kGaps.end()) {
            // gap may name a second gap, for remotes that alternate; the first is sent.
            if (words.size() != 2 && !(key == "gap" && words.size() == 3)) return fail(key + " takes one duration");
            std::uint64_t us = 0;
            if (!value(key, words[1], kLongestGapUs, us)) return false;
            remote_.*gap->second = static_cast<std::uint32_t>(us);
            return true;
        }
        if (words.size() != 2) return true;  // parameters KIVO does not send with (eps, driver, ...)
        std::uint64_t n = 0;
        if (key == "bits" || key == "pre_data_bits" || key == "post_data_bits") {
            if (!value(key, words[1], kLongestCode, n)) return false;
            (key == "bits" ? remote_.bits : key == "pre_data_bits" ? remote_.pre_data_bits : remote_.post_data_bits) = static_cast<unsigned>(n);
            return true;
        }
        if (key == "pre_data" || key == "post_data" || key == "rc6_mask" || key == "toggle_bit_mask") {
            if (!value(key, words[1], UINT64_MAX, n)) return false;
            (key == "pre_data" ? remote_.pre_data : key == "post_data" ? remote_.post_data
                                                    : key == "rc6_mask" ? remote_.rc6_mask : remote_.toggle_mask) |= n;
            return true;
        }
        // The older way to name one toggle bit: its place among the bits sent, from 1.
        if (key == "toggle_bit" || key == "repeat_bit") {
            if (!value(key, words[1], kLongestCode, n)) return false;
            toggle_bit_ = static_cast<unsigned>(n);
            return true;
        }
        if (key == "frequency") {
            if (!value(key, words[1], InfraredSignal::kHighestCarrierHz, n)) return false;
            if (n == 0) {
                note(remote_.notes, "line " + std::to_string(row_) + ": frequency 0 (no carrier): sent at 38000 Hz");
                n = InfraredSignal::kDefaultCarrierHz;
            }
            if (const std::string wrong = SignalText::CheckCarrier(n); !wrong.empty()) return fail(wrong);
            remote_.frequency = static_cast<std::uint32_t>(n);
            return true;
        }
        if (key == "duty_cycle") {
            if (!value(key, words[1], 100, n)) return false;
            if (n == 0) return fail("duty_cycle 0 sends no light (1 to 100 %)");
            remote_.duty_cycle = static_cast<unsigned>(n == 100 ? 99 : n);
            return true;
        }
        if (key == "min_repeat") {
            if (!value(key, words[1], kMostRepeats, n)) return false;
            remote_.min_repeat = static_cast<std::uint32_t>(n);
            return true;
        }
        return true;
    }

    // LIRC's own files list some names twice (two codes the remote sends for one key):
    // the first is the one sent, the second only read past.
    bool add_button(const std::string& name) {
        if (remote_.buttons.size() >= kMostButtons) return fail("more than 4096 buttons in one remote");
        if (LircButton* first = find(name)) {
            note(first->notes, "line " + std::to_string(row_) + ": a second button named " + SignalText::Quoted(name) +
                                   " in remote " + SignalText::Quoted(remote_.name) + "; the first is sent");
            skipping_ = true;
            return true;
        }
        skipping_ = false;
        remote_.buttons.push_back({name, row_, {}, {}, {}});
        return true;
    }

    bool code(const std::vector<std::string>& words) {
        if (words.size() < 2) return fail("expected a button name and its code, found " + SignalText::Quoted(words[0]));
        if (!add_button(words[0])) return false;
        for (std::size_t k = 1; k < words.size(); ++k) {
            std::uint64_t n = 0;
            if (!value("code", words[k], UINT64_MAX, n)) return false;
            if (!skipping_) remote_.buttons.back().codes.push_back(n);
        }
        if (words.size() > 2 && !skipping_)
            note(remote_.buttons.back().notes, "line " + std::to_string(row_) + ": button " + SignalText::Quoted(words[0]) +
                                                   " lists " + std::to_string(words.size() - 1) + " codes; the first is sent");
        return true;
    }

    bool raw(const std::vector<std::string>& words) {
        if (words[0] == "name") {
            if (words.size() != 2) return fail("name takes the button's name");
            if (!remote_.buttons.empty() && remote_.buttons.back().raw.empty()) return fail("raw code " + SignalText::Quoted(remote_.buttons.back().name) + " has no durations");
            raw_entries_ = 0;
            return add_button(words[1]);
        }
        if (remote_.buttons.empty()) return fail("durations before the first 'name'");
        for (const std::string& word : words) {
            std::uint32_t us = 0;
            if (!duration("a raw duration", word, us)) return false;
            if (us == 0) return fail("a raw duration of 0");
            if (++raw_entries_ > kMostRawEntries) return fail("more than 1024 durations in one raw code");
            if (!skipping_) remote_.buttons.back().raw.push_back(us);
        }
        return true;
    }

    LircConfResult& result_;
    Section section_ = Section::outside;
    LircRemote remote_;
    std::set<std::string> seen_;
    bool skipping_ = false;  // the button being read repeats a name
    unsigned toggle_bit_ = 0;
    std::size_t raw_entries_ = 0;
    int row_ = 0;
};

std::string Names(const std::vector<const LircRemote*>& remotes) {
    std::string names;
    for (const LircRemote* remote : remotes) names += (names.empty() ? "" : ", ") + SignalText::Quoted(remote->name);
    return names;
}

}  // namespace

bool LircConfText::Looks(std::string_view text) {
    for (const std::string& line : SignalText::Lines(text)) {
        const auto words = SignalText::Words(SignalText::Uncommented(line));
        if (!words.empty()) return words[0] == "begin" || words[0] == "include";
    }
    return false;
}

LircConfResult LircConfText::Read(std::string_view text) {
    LircConfResult result;
    Reader reader(result);
    int row = 0;
    for (const std::string& line : SignalText::Lines(text))
        if (!reader.line(++row, line)) return result;
    reader.finish();
    return result;
}

void LircConfText::Parse(std::string_view text, const std::string& wanted, SignalFileResult& result) {
    LircConfResult read = Read(text);
    if (!read.error.empty()) {
        result.error = read.error;
        return;
    }
    if (wanted.empty()) {
        result.error = "a LIRC remote file: pick a button with --button (handheld ir list FILE shows them)";
        return;
    }
    std::string button = wanted;
    std::vector<const LircRemote*> holders;
    const std::size_t slash = wanted.find('/');
    for (const LircRemote& remote : read.remotes) {
        if (slash != std::string::npos && remote.name == wanted.substr(0, slash) && remote.button(wanted.substr(slash + 1))) {
            holders = {&remote};
            button = wanted.substr(slash + 1);
            break;
        }
        if (remote.button(wanted) != nullptr) holders.push_back(&remote);
    }
    if (holders.empty()) {
        result.error = "no button " + SignalText::Quoted(wanted) + " in the file's remotes (handheld ir list FILE shows them)";
        return;
    }
    if (holders.size() > 1) {
        result.error = "button " + SignalText::Quoted(wanted) + " is on " + std::to_string(holders.size()) + " remotes (" +
                       Names(holders) + "): give it as REMOTE/BUTTON";
        return;
    }
    const LircRemote& remote = *holders.front();
    const LircButton& chosen = *remote.button(button);
    // Remotes for receivers that decode by themselves carry names, not timing.
    if (remote.gap == 0 || ((remote.flags & LircRemote::kRawCodes) == 0 && remote.bits == 0)) {
        result.error = "remote " + SignalText::Quoted(remote.name) + " (line " + std::to_string(remote.line) + ") gives no " +
                       (remote.gap == 0 ? "gap" : "bits") + ": it has no timing to send";
        return;
    }
    result.notes = remote.notes;
    result.notes.insert(result.notes.end(), chosen.notes.begin(), chosen.notes.end());
    InfraredSignal signal = remote.signal(chosen);
    for (const auto* part : {&signal.intro, &signal.repeat})
        for (const std::int32_t entry : *part)
            if (const std::string wrong = SignalText::CheckDuration(static_cast<std::uint64_t>(entry > 0 ? entry : -std::int64_t{entry})); !wrong.empty()) {
                result.error = "button " + SignalText::Quoted(button) + " (line " + std::to_string(chosen.line) + ") sends " + wrong;
                return;
            }
    if (signal.repeat.empty()) {
        result.error = "button " + SignalText::Quoted(button) + " (line " + std::to_string(chosen.line) + ") sends no pulse";
        return;
    }
    if (remote.toggle_mask != 0) result.toggled = remote.signal(chosen, true);
    result.signal = std::move(signal);
}

}  // namespace handheld
