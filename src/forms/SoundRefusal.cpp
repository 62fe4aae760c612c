#include "forms/SoundRefusal.h"

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
    std::u16string code_text;
    for (const char c : std::to_string(code)) code_text += static_cast<char16_t>(c);
    return u"The alarm cannot play\r\n" + path + u"\r\n\r\n" + why + u" (" + code_text + u")";
}
