#pragma once
// Deleting an alarm: its file, then its infrared database. Like a copy, it works on the
// files without the store lock, after the user has confirmed.

#include <string>

namespace platform::card {
class database_registry;
}

class AlarmDeletion {
public:
    // Deletes `file_name` ("%i.kivo" in `folder`) and its "%i.pdb"; `codebases` forgets
    // the database. False, with nothing deleted, when the alarm file stays.
    static bool Run(const std::u16string& folder, const std::u16string& file_name,
                    platform::card::database_registry& codebases);
};
