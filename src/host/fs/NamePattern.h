#pragma once
// The last component of a search pattern: '*' for any run of characters, '?' for any one,
// the rest compared without regard to case. As on the device, a trailing ".*" also
// matches a name without an extension, so "*.*" matches every name.

#include <string>
#include <string_view>

namespace host {

class NamePattern {
public:
    explicit NamePattern(std::u16string_view pattern);

    bool matches(std::u16string_view name) const;

private:
    static bool glob(std::u32string_view pattern, std::u32string_view name);

    std::u32string pattern_;
};

}  // namespace host
