#pragma once
// What has to happen before KIVO's files are removed from the handheld: the two programs
// that may be running are ended, since their files are about to go, and every
// registration of the wake program is removed, so the notification database no longer
// starts a program that is not there.

#include "ce/Types.h"

class ProgramRemoval {
public:
    static constexpr const char16_t* kAlertTitle = u"KIVOAlert";
    static constexpr const char16_t* kMainTitle = u"KIVO";

    // Every step runs whatever the one before did; nothing is reported.
    static void Prepare();

private:
    static void EndOwnerOf(const char16_t* title);
};
