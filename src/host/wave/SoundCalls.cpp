// PlaySoundW (ce/Sound.h) over the handheld's default sound.

#include "ce/Sound.h"
#include "host/wave/DefaultSound.h"

namespace ce {

BOOL PlaySoundW(LPCWSTR sound, HMODULE /*module*/, DWORD flags) {
    if (sound == nullptr) return TRUE;
    // A file would be found and played by name; this call plays no files.
    if ((flags & SND_FILENAME) != 0) return FALSE;
    // Every resource and alias is missing here, so the default sound stands in.
    if ((flags & SND_NODEFAULT) != 0) return FALSE;
    return host::DefaultSound::Play() ? TRUE : FALSE;
}

}  // namespace ce
