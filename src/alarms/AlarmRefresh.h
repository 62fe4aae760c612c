#pragma once
// The alarm list's answer to the change signal: under the store lock, every alarm file
// whose archive attribute is clear (changed by Alert) is marked seen again and its
// Active flag copied into the list row of the same file name. The caller repaints.

#include <string>

#include "alarms/AlarmRows.h"

class AlarmRefresh {
public:
    // False, touching nothing, when the store cannot be locked.
    static bool Run(const std::u16string& folder, AlarmRows& rows);

private:
    static void RefreshFile(const std::u16string& folder, const std::u16string& name, AlarmRows& rows);
};
