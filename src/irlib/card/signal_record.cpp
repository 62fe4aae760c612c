#include "irlib/card/signal_record.h"

#include <algorithm>

#include "irlib/card/record_kind.h"
#include "irlib/card/signal_entries.h"
#include "recordfile/PdbLayout.h"

namespace platform::card {

namespace {

constexpr std::size_t kKindSize = 2;
constexpr std::size_t kPartHeaderSize = 6;  // carrier period, entry count, repeat start

// Where the field after a NUL-terminated name padded to an even length begins, counted
// from `from`; 0 when the name does not end inside the record.
std::size_t after_padded_name(std::span<const std::uint8_t> record, std::size_t from) {
    const auto begin = record.begin() + static_cast<std::ptrdiff_t>(std::min(from, record.size()));
    const auto nul = std::find(begin, record.end(), std::uint8_t{0});
    if (nul == record.end()) return 0;
    const std::size_t length = static_cast<std::size_t>(nul - begin) + 1;
    return from + length + length % 2;
}

void put_be16(std::vector<std::uint8_t>& out, std::uint16_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

std::uint16_t be16_at(std::span<const std::uint8_t> record, std::size_t offset) {
    return pdb::read_be16(&record[offset]);
}

// Sign-extends the byte at `offset` into the 16-bit field it is read into.
std::uint16_t signed_byte_at(std::span<const std::uint8_t> record, std::size_t offset) {
    return static_cast<std::uint16_t>(static_cast<std::int8_t>(record[offset]));
}

int take_part(std::span<const std::uint8_t> record, std::size_t entries_at, std::size_t entries,
              std::uint16_t repeat_start, std::uint16_t carrier, signal_data& signal) {
    if (entries == 0) return kBadSignal;
    if (entries_at > record.size() || 2 * entries > record.size() - entries_at) return kBadSignal;
    signal.durations = merge_entries(record.subspan(entries_at, 2 * entries));
    signal.repeat_start = repeat_start;
    signal.carrier_period = carrier;
    return 0;
}

}  // namespace

void signal_record::append_part(const signal_data& signal, const std::vector<std::int16_t>& entries,
                                std::vector<std::uint8_t>& out) {
    put_be16(out, signal.carrier_period);
    put_be16(out, static_cast<std::uint16_t>(entries.size()));
    put_be16(out, signal.repeat_start);
    for (const std::int16_t entry : entries) put_be16(out, static_cast<std::uint16_t>(entry));
}

int signal_record::encode(std::string_view name, const signal_data& signal, std::vector<std::uint8_t>& record) {
    std::vector<std::int16_t> entries;
    if (!pack_entries(signal.durations, entries)) return kBadSignal;
    // The name up to its NUL, as the record's name is read back.
    const std::string_view stored = name.substr(0, name.find('\0'));
    // Grown from empty: GCC 12, fortifying, takes an insert after a two-byte start for
    // a copy past its end.
    std::vector<std::uint8_t> out;
    out.reserve(stored.size() + 10 + 2 * entries.size());
    out.push_back(0x00);
    out.push_back(kSignalTag);
    out.insert(out.end(), stored.begin(), stored.end());
    out.push_back(0);
    if (out.size() % 2 != 0) out.push_back(0);
    put_be16(out, 1);
    append_part(signal, entries, out);
    record = std::move(out);
    return 0;
}

int signal_record::add_part(std::span<const std::uint8_t> record, const signal_data& signal,
                            std::vector<std::uint8_t>& result) {
    if (classify_record(record) != record_kind::signal) return kBadSignal;
    const std::size_t count_at = after_padded_name(record, kKindSize);
    if (count_at == 0 || count_at + 2 > record.size()) return kBadSignal;
    std::vector<std::int16_t> entries;
    if (!pack_entries(signal.durations, entries)) return kBadSignal;

    std::vector<std::uint8_t> out(record.begin(), record.end());
    pdb::write_be16(&out[count_at], static_cast<std::uint16_t>(be16_at(record, count_at) + 1));
    append_part(signal, entries, out);
    result = std::move(out);
    return 0;
}

int signal_record::decode(std::span<const std::uint8_t> record, int part, signal_data& signal) {
    switch (classify_record(record)) {
    case record_kind::legacy_signal: return decode_legacy(record, part, signal);
    case record_kind::signal: return decode_current(record, part, signal);
    default: return kNotSignal;
    }
}

int signal_record::decode_current(std::span<const std::uint8_t> record, int part, signal_data& signal) {
    const std::size_t count_at = after_padded_name(record, kKindSize);
    if (count_at == 0 || count_at + 2 > record.size()) return kBadSignal;
    const std::uint16_t parts = be16_at(record, count_at);
    if (parts == 0) return kBadSignal;
    const auto wanted = static_cast<unsigned>(part < 0 ? 0 : part) % parts;

    std::size_t at = count_at + 2;
    for (unsigned skipped = 0;; ++skipped) {
        if (at > record.size() || record.size() - at < kPartHeaderSize) return kBadSignal;
        const std::size_t entries = be16_at(record, at + 2);
        if (skipped == wanted)
            return take_part(record, at + kPartHeaderSize, entries, be16_at(record, at + 4), be16_at(record, at), signal);
        at += kPartHeaderSize + 2 * entries;
    }
}

int signal_record::decode_legacy(std::span<const std::uint8_t> record, int part, signal_data& signal) {
    // name (padded), one unused byte, carrier, then part 0: repeat start, entry count,
    // entries; then optionally part 1 the same way.
    const std::size_t fields = after_padded_name(record, 0);
    if (fields == 0 || fields + 4 > record.size()) return kBadSignal;
    const std::uint16_t carrier = signed_byte_at(record, fields + 1);
    std::size_t at = fields + 2;
    const std::size_t first_entries = record[at + 1];
    const std::size_t second = at + 2 + 2 * first_entries;
    const bool has_second = second + 2 < record.size() && record[second + 1] != 0;
    if (part > 0 && has_second) at = second;
    return take_part(record, at + 2, record[at + 1], signed_byte_at(record, at), carrier, signal);
}

}  // namespace platform::card
