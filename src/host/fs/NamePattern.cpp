#include "host/fs/NamePattern.h"

#include "host/fs/CaseFold.h"

namespace host {

NamePattern::NamePattern(std::u16string_view pattern) : pattern_(CaseFold::folded_code_points(pattern)) {}

bool NamePattern::matches(std::u16string_view name) const {
    const std::u32string folded = CaseFold::folded_code_points(name);
    const std::u32string_view pattern(pattern_);
    if (glob(pattern, folded)) return true;
    return pattern.ends_with(U".*") && glob(pattern.substr(0, pattern.size() - 2), folded);
}

// Greedy matching that backtracks only to the last '*': linear in practice, and never
// worse than pattern length times name length.
bool NamePattern::glob(std::u32string_view pattern, std::u32string_view name) {
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t star = std::u32string_view::npos;
    std::size_t resume = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == U'?' || pattern[p] == name[n])) {
            ++p;
            ++n;
        } else if (p < pattern.size() && pattern[p] == U'*') {
            star = p++;
            resume = n;
        } else if (star != std::u32string_view::npos) {
            p = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == U'*') ++p;
    return p == pattern.size();
}

}  // namespace host
