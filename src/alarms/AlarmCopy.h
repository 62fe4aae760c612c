#pragma once
// Copying an alarm: its file and its infrared database under a fresh number, the copy
// disarmed so that two identical alarms never ring together. The store lock is not
// taken: the new files are not yet known to the other program.

#include <string>

namespace platform::card {
class database_registry;
}

class AlarmCopy {
public:
    enum class Status {
        copied,
        copy_failed,    // "Fail to copy Alert file"
        update_failed,  // "Fail to set Macro to Alert file"
    };
    struct Result {
        Status status = Status::copy_failed;
        std::u16string file_name;  // "%i.kivo" of the copy, when copied
    };

    // The message the user sees for a failed copy (empty for a copy made).
    static std::u16string MessageOf(Status status);

    // Copies `source_name` ("%i.kivo" in `folder`, which ends in "\"). `codebases` is the
    // program's registry of the infrared databases in that folder.
    static Result Run(const std::u16string& folder, const std::u16string& source_name,
                      platform::card::database_registry& codebases);
};
