// Case-insensitive comparison of names for the platform interface, with the folding the
// file system uses.

#include <string_view>

#include "ce/Text.h"
#include "host/fs/CaseFold.h"

namespace ce {

int lstrcmpiW(LPCWSTR first, LPCWSTR second) {
    const std::u16string_view a = first == nullptr ? std::u16string_view() : std::u16string_view(first);
    const std::u16string_view b = second == nullptr ? std::u16string_view() : std::u16string_view(second);
    const std::u32string folded_a = host::CaseFold::folded_code_points(a);
    const std::u32string folded_b = host::CaseFold::folded_code_points(b);
    return folded_a.compare(folded_b) < 0 ? -1 : folded_a == folded_b ? 0 : 1;
}

}  // namespace ce
