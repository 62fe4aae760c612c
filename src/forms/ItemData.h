#pragma once
// One line of an alarm's command list: a pause, or a learned signal with how it repeats.
// The alarm form, the command list editor and the signal form pass these between them;
// the list is written out as the macro "Alarm" of the alarm's codebase.
//
// The display name is kept packed (each UTF-16 code unit as two bytes, a zero high byte
// as 0xEF) in a 100-byte field, because it travels as the 8-bit comment of the macro's
// step and comes back from it unchanged.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "irlib/card/signal_record.h"

struct ItemData {
    static constexpr int kEmpty = 0;
    static constexpr int kPause = 1;
    static constexpr int kSignal = 2;
    // The signal's own repeat rule: sent once, or for as long as a key is held.
    static constexpr int kDefaultRepeat = 3;
    // Repeated for durationMs rather than a count.
    static constexpr int kRepeatForDuration = -2;
    static constexpr int kDefaultDurationMs = 1000;
    static constexpr std::size_t kNameBytes = 100;
    // 98 packed bytes before the NUL.
    static constexpr std::size_t kNameCharacters = 49;

    int kind = kEmpty;
    int pauseMs = 0;
    std::vector<std::int32_t> durations;  // µs, marks positive, spaces negative
    std::uint16_t repeatStart = 0;
    std::uint16_t carrier = 0;  // carrier period in µs
    std::array<char, kNameBytes> name{};  // packed, NUL-terminated
    int repeatMode = kDefaultRepeat;
    int durationMs = kDefaultDurationMs;

    // A pause named "Pause 2.5s" (the length in seconds with one decimal).
    static ItemData Pause(int pause_ms);
    static ItemData Signal(const platform::card::signal_data& signal, int repeat_mode, int duration_ms,
                           std::u16string_view display_name);

    std::uint16_t Count() const { return static_cast<std::uint16_t>(durations.size()); }
    platform::card::signal_data SignalData() const { return {durations, repeatStart, carrier}; }
    void SetSignal(const platform::card::signal_data& signal);

    // Packs at most kNameCharacters characters; an empty text clears the name.
    void SetDisplayName(std::u16string_view text);
    std::u16string DisplayName() const;
    // The packed bytes up to the NUL, as the macro step's comment holds them.
    const char* PackedName() const { return name.data(); }
    void SetPackedName(std::string_view packed);
    bool HasName() const { return name[0] != '\0'; }

    // "Pause %.1fs" of pause_ms, independent of the C locale.
    static std::u16string PauseText(int pause_ms);

    bool operator==(const ItemData& other) const = default;
};

// The command list, in order; copying it copies every item and its durations.
using ItemDataArr = std::vector<ItemData>;
