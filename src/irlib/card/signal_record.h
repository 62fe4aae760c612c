#pragma once
// A signal as a codebase stores it: one record per name, kind 0x0002, holding one or
// more parts, each a complete signal (carrier period, entries, repeat start). Records
// of an older layout (a non-zero first byte, at most two parts sharing one carrier) are
// read as well. Every read is bounded by the record: bytes that claim more than they
// hold are an invalid signal, never a read past the end.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

namespace platform::card {

// A signal as the driver takes it: durations in µs (marks positive, spaces negative),
// the index of the first duration of the repeated frame and the carrier period in µs.
struct signal_data {
    std::vector<std::int32_t> durations;
    std::uint16_t repeat_start = 0;
    std::uint16_t carrier_period = 0;
};

// A signal that cannot be encoded (no entries or more than 255), or a record part
// without entries.
inline constexpr int kBadSignal = 1061;
// Bytes that are not a signal record at all.
inline constexpr int kNotSignal = -1;

class signal_record {
public:
    // A one-part record: 0, or kBadSignal and `record` untouched.
    static int encode(std::string_view name, const signal_data& signal, std::vector<std::uint8_t>& record);
    // `record` with `signal` appended as one more part: 0, or kBadSignal and `result`
    // untouched (also when `record` is not a kind-0x0002 record).
    static int add_part(std::span<const std::uint8_t> record, const signal_data& signal,
                        std::vector<std::uint8_t>& result);
    // Part `part` (modulo the parts there are): 0, kNotSignal, or kBadSignal for a part
    // without entries, a record without parts or one shorter than its fields say.
    static int decode(std::span<const std::uint8_t> record, int part, signal_data& signal);

private:
    static int decode_current(std::span<const std::uint8_t> record, int part, signal_data& signal);
    static int decode_legacy(std::span<const std::uint8_t> record, int part, signal_data& signal);
    static void append_part(const signal_data& signal, const std::vector<std::int16_t>& entries,
                            std::vector<std::uint8_t>& out);
};

}  // namespace platform::card
