#pragma once
// KIVO saves an edited alarm in steps: the alarm goes into a staging copy ("7.~kv"), the
// alarm's old codebases are set aside ("7.pdb" -> "7.pdb.~old") while the new ones are
// written, the staging copy is renamed over the alarm file (the save takes effect), and
// the old codebases are deleted. A program ended between the steps (the setup library
// terminates KIVO) leaves an alarm naming a codebase that is not there, or one that is
// not its own. Whoever next enters the store finishes that save's business, so the alarm
// is found whole: as it was before the save, or as the save made it.

#include <string>
#include <string_view>

class InterruptedSave {
public:
    static constexpr std::u16string_view kStagingExtension = u".~kv";
    static constexpr std::u16string_view kSetAsideExtension = u".~old";

    // In the alarms folder `folder` (ending in "\"): when a staging copy is still there the
    // save never took effect, and the codebases it set aside come back in place of what it
    // wrote; without one it did, and they go. Staging copies left behind are deleted. The
    // caller holds the store lock, so no save is under way.
    static void Finish(const std::u16string& folder);
};
