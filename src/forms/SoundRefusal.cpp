#include "forms/SoundRefusal.h"

#include "alarms/StoredSoundPath.h"
#include "ce/Text.h"
#include "sound/CSoundWave.h"

std::u16string SoundRefusal::Text(ce::DWORD code, const std::u16string& path) {
    std::u16string why;
    switch (code) {
        case CSoundWave::kNoFile: why = u"No sound file is chosen."; break;
        case CSoundWave::kAlreadyPlaying: why = u"Another sound is still playing."; break;
        case CSoundWave::kCannotMap: why = u"The file cannot be opened; another program may be using it."; break;
        case CSoundWave::kNotWave: why = u"The file is not a WAV sound, or it is damaged."; break;
        case CSoundWave::kNotPcm:
            why = u"The sound is compressed; only uncompressed (PCM) WAV sounds can be played.";
            break;
        case CSoundWave::kNoDevice: why = u"The handheld's sound output is busy or cannot play this format."; break;
        case CSoundWave::kNoBuffers: why = u"The sound cannot be made ready to play: its format gives no sound, or memory is short."; break;
        default: why = u"The sound cannot be played."; break;
    }
    return u"The alarm cannot play\r\n" + path + u"\r\n\r\n" + why + u" (" + ce::utf16_from_utf8(std::to_string(code)) + u")";
}

std::u16string SoundRefusal::PathText(const std::u16string& path) {
    std::u16string why;
    switch (StoredSoundPath::Check(path)) {
        case StoredSoundPath::Fit::fits: return {};
        case StoredSoundPath::Fit::foreign_characters:
            why = u"Its name has characters the alarm cannot keep. Rename the file, or choose another one.";
            break;
        case StoredSoundPath::Fit::too_long:
            why = u"Its path is too long for the alarm to keep (199 characters at most). Move the file to a "
                  u"shorter path, or choose another one.";
            break;
    }
    return u"The alarm cannot keep the sound\r\n" + path + u"\r\n\r\n" + why;
}
