#include "alarms/AlarmNumbering.h"

#include "ce/Files.h"
#include "ce/Time.h"

namespace {

bool exists(const std::u16string& path) { return ce::GetFileAttributesW(path.c_str()) != ce::INVALID_FILE_ATTRIBUTES; }

// Numbers count on past the largest one into the negative ones, as the device's counter wraps.
std::int32_t after(std::int32_t number, std::uint32_t steps) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(number) + steps);
}

}  // namespace

std::u16string AlarmNumbering::FileName(std::int32_t number, std::u16string_view extension) {
    const std::string digits = std::to_string(number);
    std::u16string name(digits.begin(), digits.end());
    name += extension;
    return name;
}

std::int32_t AlarmNumbering::TickNumber() { return static_cast<std::int32_t>(ce::GetTickCount()); }

std::u16string AlarmNumbering::NewAlarmName(const std::u16string& folder, std::int32_t start) {
    for (std::uint32_t step = 0; step < kNewAlarmCandidates; ++step) {
        std::u16string name = FileName(after(start, step), u".kivo");
        if (!exists(folder + name)) return name;
    }
    return {};
}

std::u16string AlarmNumbering::NewAlarmName(const std::u16string& folder) { return NewAlarmName(folder, TickNumber()); }

std::optional<std::int32_t> AlarmNumbering::CopyNumber(const std::u16string& folder, std::int32_t start) {
    std::uint32_t step = 0;
    do {
        const std::int32_t number = after(start, step);
        if (!exists(folder + FileName(number, u".kivo")) && !exists(folder + FileName(number, u".pdb"))) return number;
    } while (++step != 0);
    return std::nullopt;
}
