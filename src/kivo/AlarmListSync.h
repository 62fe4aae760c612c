#pragma once
// Makes the alarm list show what the alarms folder holds, after the folder changed
// behind KIVO's back (an alarm added, removed or changed from a terminal, or by another
// program): a row for each new alarm file, none for a file that has gone or no longer
// reads as an alarm, and the rows of changed files read again and put in their place by
// time. The selected alarm stays selected wherever its row ends up.

#include <string>

class CAlarmListCtrl;
class CAlarmItem;

class AlarmListSync {
public:
    enum class Result { unchanged, changed, locked };

    // Under the store lock; `locked` (nothing touched) when it is held elsewhere. It does
    // not wait for it: the list follows from a timer, and a store held for long must not
    // stop the window at every tick; the caller tries again at the next.
    static Result Run(const std::u16string& folder, CAlarmListCtrl& list);

private:
    static bool Same(const CAlarmItem& row, const CAlarmItem& file);
};
