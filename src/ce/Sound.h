#pragma once
// PlaySoundW: a short sound by name, played through the handheld's wave output.
//
// The programs carry no wave resources and the handheld has no sound aliases, so a
// resource or an alias is never found there: the handheld's default sound, a short
// beep, is played in its place, unless SND_NODEFAULT asks for silence. The beep is
// played through before the call returns, SND_ASYNC or not (it lasts a fifth of a
// second). Files are played by the WAV player (sound/CSoundWave), not by this call.

#include "ce/Types.h"

namespace ce {

struct HINSTANCE__;
using HMODULE = HINSTANCE__*;

inline constexpr DWORD SND_SYNC = 0x00000000;
inline constexpr DWORD SND_ASYNC = 0x00000001;
inline constexpr DWORD SND_NODEFAULT = 0x00000002;
inline constexpr DWORD SND_ALIAS = 0x00010000;
inline constexpr DWORD SND_FILENAME = 0x00020000;
inline constexpr DWORD SND_RESOURCE = 0x00040004;

// A resource number where a resource name goes.
inline LPCWSTR MAKEINTRESOURCEW(WORD id) { return reinterpret_cast<LPCWSTR>(static_cast<std::uintptr_t>(id)); }

// TRUE when a sound was played; FALSE when nothing was (silence asked for, a file name,
// or the wave output busy with another player or not there). A null `sound` stops
// nothing, since no sound of this call is left playing, and is TRUE.
BOOL PlaySoundW(LPCWSTR sound, HMODULE module, DWORD flags);

}  // namespace ce
