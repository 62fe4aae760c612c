#pragma once
// Makes the alarm list show what the alarms folder holds, after the folder changed
// behind KIVO's back (an alarm added, removed or changed from a terminal, or by another
// program): a row for each new alarm file, none for a file that has gone or no longer
// reads as an alarm, and the rows of changed files read again and put in their place by
// time. The selected alarm stays selected wherever its row ends up. Only the files the
// folder's watch names are read, unless it asks for the whole folder.

#include <string>
#include <vector>

#include "alarms/AlarmFolderWatch.h"

class CAlarmListCtrl;
class CAlarmItem;

class AlarmListSync {
public:
    enum class Result { unchanged, changed, locked };

    // Under the store lock; `locked` (nothing touched) when it is held elsewhere. It does
    // not wait for it: the list follows from a timer, and a store held for long must not
    // stop the window at every tick; the caller tries again at the next.
    static Result Run(const std::u16string& folder, CAlarmListCtrl& list, const AlarmFolderWatch::Changes& changes);

private:
    static bool Same(const CAlarmItem& row, const CAlarmItem& file);
    // Drops the rows of files the folder no longer holds; whether there were any.
    static bool DropGone(const std::vector<std::u16string>& names, CAlarmListCtrl& list);
    // Makes the row of one file what the file says; whether the list changed.
    static bool Follow(const std::u16string& folder, const std::u16string& name, CAlarmListCtrl& list);
};
