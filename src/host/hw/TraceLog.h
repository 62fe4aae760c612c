#pragma once
// log/ir.log: every infrared transmission of the handheld, one block per send, as LIRC
// "mode2" text under a comment line naming it:
//
//   # send 3 pxa270 at 12.345678 s: 38462 Hz carrier, duty 0.51, 68 marks
//   # lirc /dev/lirc0: sent 135 values in 1 write, carrier 38462 Hz   (a LIRC port only)
//   carrier 38462
//   pulse 9000
//   space 4500
//   ...
//
// Appends are single writes to a file opened for appending, so the blocks of two
// processes never interleave.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "sim/TraceDecoder.h"

namespace host::hw {

class TraceLog {
public:
    static constexpr std::string_view kFileName = "ir.log";

    explicit TraceLog(std::filesystem::path path) : path_(std::move(path)) {}

    // `port`, when given, is what the real infrared port did with it: a comment line
    // "# lirc ..." after the block's first line.
    bool append(const sim::DecodedTrace& trace, const sim::Transmission& transmission, std::string_view profile,
                std::string_view port = {});
    // The blocks in order (comment line included); empty when there is no log.
    std::vector<std::string> blocks() const;

private:
    std::filesystem::path path_;
};

}  // namespace host::hw
