#include "irlib/card/record_kind.h"

#include <algorithm>

namespace platform::card {

record_kind classify_record(std::span<const std::uint8_t> record) {
    if (record.empty()) return record_kind::ignored;
    if (record[0] != 0) return record_kind::legacy_signal;
    if (record.size() < 2) return record_kind::ignored;
    if (record[1] == kMacroTag) return record_kind::macro;
    if (record[1] == kSignalTag) return record_kind::signal;
    return record_kind::ignored;
}

std::optional<std::string> record_name(std::span<const std::uint8_t> record) {
    const record_kind kind = classify_record(record);
    if (kind == record_kind::ignored) return std::nullopt;
    const auto text = record.subspan(kind == record_kind::legacy_signal ? 0 : 2);
    const auto end = std::find(text.begin(), text.end(), std::uint8_t{0});
    if (end == text.end()) return std::nullopt;
    return std::string(text.begin(), end);
}

}  // namespace platform::card
