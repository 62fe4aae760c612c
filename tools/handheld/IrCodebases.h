#pragma once
// The infrared codebases of the handheld's alarms folder (beside KIVO's install place),
// where each alarm's signals and its macro "Alarm" are kept.

#include <string>

#include "irlib/card/codebase_writer.h"

namespace handheld {

class IrCodebases {
public:
    // Points the process's codebase registry at the alarms folder.
    static void select();
    // Opens codebase `name` for writing, creating it (and the folder) when there is none:
    // 0 or the codebase layer's error.
    static int open_for_writing(const std::string& name, platform::card::codebase_writer& writer);
    // The codebase layer's result as words for a person.
    static std::string describe(int result);
};

}  // namespace handheld
