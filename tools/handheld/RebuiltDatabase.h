#pragma once
// What the tool does when its check found the handheld's device.db damaged and a new one
// was made: says so (on standard error and in log/notify.log), registers the alarms
// again from the alarm files, and has a notification service that was running on the
// old file start again on the new one.

#include "Console.h"

namespace handheld {

class RebuiltDatabase {
public:
    static void follow_up(Console& console);
};

}  // namespace handheld
