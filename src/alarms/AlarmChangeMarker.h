#pragma once
// The archive attribute of an alarm file says whether KIVO has seen its current
// contents: KIVO sets it whenever it reads the file into its list, Alert clears it after
// writing to the file, so that KIVO's refresh re-reads only what Alert changed.

#include <string>

#include "ce/Types.h"

class AlarmChangeMarker {
public:
    enum class State { unreadable, seen, changed };

    static State Read(const std::u16string& path);
    // Both keep the file's other attributes; false when the attributes cannot be changed.
    static bool MarkSeen(const std::u16string& path);
    // The same for a file whose attributes the caller has just read (a listing).
    static bool MarkSeen(const std::u16string& path, ce::DWORD attributes);
    static bool MarkChanged(const std::u16string& path);
};
