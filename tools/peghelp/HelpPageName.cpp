#include "HelpPageName.h"

#include <algorithm>

namespace {

bool starts_with_ignoring_case(std::u16string_view text, std::u16string_view prefix) {
    if (text.size() < prefix.size()) return false;
    return std::equal(prefix.begin(), prefix.end(), text.begin(), [](char16_t wanted, char16_t found) {
        const auto lower = [](char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c + 32) : c; };
        return lower(wanted) == lower(found);
    });
}

}  // namespace

HelpPageName HelpPageName::Parse(std::u16string_view text) {
    HelpPageName name;
    while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
    while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
    if (starts_with_ignoring_case(text, u"file:")) text.remove_prefix(5);
    if (const auto hash = text.find(u'#'); hash != std::u16string_view::npos) {
        name.anchor_ = text.substr(hash + 1);
        text = text.substr(0, hash);
    }
    std::u16string page(text);
    std::replace(page.begin(), page.end(), u'/', u'\\');
    // "file:///Windows/x.htm" arrives with its URL slashes: one leading separator is enough.
    const auto first = page.find_first_not_of(u'\\');
    if (first == std::u16string::npos) return name;  // no page at all, or only separators
    if (first > 0) name.path_ = u"\\" + page.substr(first);
    else name.path_ = std::u16string(kHelpFolder) + u"\\" + page;
    return name;
}
