#pragma once
// The handheld's registry: keys under two roots, typed values, the unnamed default value.

#include "ce/Types.h"

namespace ce {

class RegistryKey;
using HKEY = RegistryKey*;
inline HKEY const HKEY_CURRENT_USER = reinterpret_cast<HKEY>(std::uintptr_t{0x80000001});
inline HKEY const HKEY_LOCAL_MACHINE = reinterpret_cast<HKEY>(std::uintptr_t{0x80000002});

inline constexpr DWORD REG_NONE = 0;
inline constexpr DWORD REG_SZ = 1;
inline constexpr DWORD REG_BINARY = 3;
inline constexpr DWORD REG_DWORD = 4;

inline constexpr DWORD REG_CREATED_NEW_KEY = 1;
inline constexpr DWORD REG_OPENED_EXISTING_KEY = 2;

// Registry calls return an error code (ERROR_SUCCESS on success) instead of setting the
// last error. Key and value names are case-insensitive; a null or empty value name is
// the key's default value.

LONG RegCreateKeyExW(HKEY parent, LPCWSTR subKey, HKEY* result, DWORD* disposition = nullptr);
LONG RegOpenKeyExW(HKEY parent, LPCWSTR subKey, HKEY* result);
LONG RegCloseKey(HKEY key);
// Deletes a key that has no subkeys, with its values.
LONG RegDeleteKeyW(HKEY parent, LPCWSTR subKey);

// Subkeys in the order they were created. `nameChars` holds the buffer size in
// characters on entry and the name's length (without NUL) on success;
// ERROR_MORE_DATA when the name does not fit, ERROR_NO_MORE_ITEMS past the last.
LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, DWORD* nameChars);

// Reads at most *dataBytes bytes. A null `data` asks only for the size. When the value
// is larger than the buffer: ERROR_MORE_DATA, nothing copied, *dataBytes = the size needed.
// REG_SZ data is UTF-16 with its NUL terminator.
LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, DWORD* type, BYTE* data, DWORD* dataBytes);
LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD type, const BYTE* data, DWORD dataBytes);
LONG RegDeleteValueW(HKEY key, LPCWSTR valueName);

}  // namespace ce
