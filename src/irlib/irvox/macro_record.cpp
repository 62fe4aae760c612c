#include "irlib/irvox/macro_record.h"

#include <algorithm>

namespace irvox {

std::span<const std::uint8_t> macro_record::stream(std::span<const std::uint8_t> record) {
    constexpr std::size_t kKindSize = 2;
    if (record.size() < kKindSize) return {};
    const auto name = record.subspan(kKindSize);
    const auto nul = std::find(name.begin(), name.end(), std::uint8_t{0});
    if (nul == name.end()) return {};
    return name.subspan(static_cast<std::size_t>(nul - name.begin()) + 1);
}

}  // namespace irvox
