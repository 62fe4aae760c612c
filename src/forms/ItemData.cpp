#include "forms/ItemData.h"

#include <algorithm>
#include <charconv>

#include "forms/InfraredStrings.h"
#include "irlib/utils/wide_text.h"

ItemData ItemData::Pause(int pause_ms) {
    ItemData item;
    item.kind = kPause;
    item.pauseMs = pause_ms;
    item.SetDisplayName(PauseText(pause_ms));
    return item;
}

ItemData ItemData::Signal(const platform::card::signal_data& signal, int repeat_mode, int duration_ms,
                          std::u16string_view display_name) {
    ItemData item;
    item.kind = kSignal;
    item.SetSignal(signal);
    item.repeatMode = repeat_mode;
    item.durationMs = duration_ms;
    item.SetDisplayName(display_name);
    return item;
}

void ItemData::SetSignal(const platform::card::signal_data& signal) {
    durations = signal.durations;
    repeatStart = signal.repeat_start;
    carrier = signal.carrier_period;
}

void ItemData::SetDisplayName(std::u16string_view text) {
    name.fill('\0');
    const std::u16string terminated(text.substr(0, kNameCharacters));
    utils::pack_wide_text(terminated.c_str(), name.data(), name.size());
}

std::u16string ItemData::DisplayName() const {
    std::array<char16_t, kNameBytes> wide{};
    utils::unpack_wide_text(name.data(), name.size(), wide.data(), wide.size());
    return std::u16string(wide.data());
}

void ItemData::SetPackedName(std::string_view packed) {
    name.fill('\0');
    std::copy_n(packed.begin(), std::min(packed.size(), name.size() - 1), name.begin());
}

std::u16string ItemData::PauseText(int pause_ms) {
    char number[32];
    const auto end = std::to_chars(number, number + sizeof number, pause_ms * 0.001, std::chars_format::fixed, 1).ptr;
    std::u16string text(InfraredStrings::Get(InfraredStrings::IDS_PAUSE_LINE));
    if (const auto at = text.find(u"%.1f"); at != std::u16string::npos) text.replace(at, 4, std::u16string(number, end));
    return text;
}
