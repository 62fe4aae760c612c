#include "alarms/StoredSoundPath.h"

#include "ce/Text.h"

StoredSoundPath::Fit StoredSoundPath::Check(const std::u16string& path) {
    const std::string ansi = ce::ansi_from_wide(path);
    if (ce::wide_from_ansi(ansi) != path) return Fit::foreign_characters;
    return ansi.size() > kLongestBytes ? Fit::too_long : Fit::fits;
}
