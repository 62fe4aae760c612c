#pragma once
// Text conversions: the device's ANSI code page (Windows-1252) to and from UTF-16,
// and UTF-8 for the host side (command line, logs).

#include <string>
#include <string_view>

#include "ce/Types.h"

namespace ce {

inline constexpr unsigned CP_ACP = 0;

// Win32 contract: a length of -1 converts up to and including the NUL; an output size
// of 0 returns the size needed. Returns the number of units written, 0 on failure
// (ERROR_INSUFFICIENT_BUFFER, ERROR_NO_UNICODE_TRANSLATION, ERROR_INVALID_PARAMETER).
int MultiByteToWideChar(unsigned codePage, DWORD flags, const char* text, int textBytes,
                        WCHAR* wide, int wideChars);
// Characters without a Windows-1252 form become '?'.
int WideCharToMultiByte(unsigned codePage, DWORD flags, const WCHAR* wide, int wideChars,
                        char* text, int textBytes, const char* defaultChar = nullptr,
                        BOOL* usedDefaultChar = nullptr);

std::string ansi_from_wide(std::u16string_view wide);
std::u16string wide_from_ansi(std::string_view ansi);

// Compares two NUL-terminated names without regard to case, as the handheld compares
// file names: <0, 0 or >0.
int lstrcmpiW(LPCWSTR first, LPCWSTR second);

// Lossless UTF conversions; invalid sequences become U+FFFD.
std::string utf8_from_utf16(std::u16string_view text);
std::u16string utf16_from_utf8(std::string_view text);

}  // namespace ce
