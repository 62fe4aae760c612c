#pragma once
// Numbers for new alarm files. An alarm's number only names its files ("%i.kivo" and its
// infrared database "%i.pdb"); it starts from the tick count so that two saves rarely
// try the same names.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

class AlarmNumbering {
public:
    static constexpr std::uint32_t kNewAlarmCandidates = 1001;

    // The name "%i.kivo" of the first of start, start + 1, ... start + 1000 that has no
    // alarm file in `folder` (ending in "\"); empty when all of them exist.
    static std::u16string NewAlarmName(const std::u16string& folder, std::int32_t start);
    static std::u16string NewAlarmName(const std::u16string& folder);  // from the tick count

    // The first number from `start` on for which neither "%i.kivo" nor "%i.pdb" exists,
    // so that a copy never takes over another alarm's infrared database. Nothing only
    // when every 32-bit number is taken.
    static std::optional<std::int32_t> CopyNumber(const std::u16string& folder, std::int32_t start);

    // "%i" followed by `extension` (".kivo", ".pdb").
    static std::u16string FileName(std::int32_t number, std::u16string_view extension);
    static std::int32_t TickNumber();
};
