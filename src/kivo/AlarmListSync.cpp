#include "kivo/AlarmListSync.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "alarms/AlarmChangeMarker.h"
#include "alarms/AlarmEnumerator.h"
#include "alarms/AlarmStoreLock.h"
#include "ce/Text.h"
#include "kivo/CAlarmListCtrl.h"

namespace {

bool same_name(const std::u16string& a, const std::u16string& b) { return ce::lstrcmpiW(a.c_str(), b.c_str()) == 0; }

std::optional<int> row_named(const CAlarmListCtrl& list, const std::u16string& name) {
    for (int index = 0; index < list.Count(); ++index)
        if (same_name(list.Row(index)->file_name, name)) return index;
    return std::nullopt;
}

}  // namespace

bool AlarmListSync::Same(const CAlarmItem& row, const CAlarmItem& file) {
    return row.description == file.description && row.active == file.active && row.has_sound == file.has_sound &&
           row.has_infrared == file.has_infrared && row.hour == file.hour && row.minute == file.minute &&
           row.days == file.days;
}

AlarmListSync::Result AlarmListSync::Run(const std::u16string& folder, CAlarmListCtrl& list,
                                         const AlarmFolderWatch::Changes& changes) {
    AlarmStoreLock lock;
    if (!lock.Lock(0)) return Result::locked;
    const CAlarmItem* selected = list.Row(list.Selected());
    const std::u16string selected_name = selected != nullptr ? selected->file_name : std::u16string();
    bool changed = false;
    if (changes.everything) {
        const std::vector<std::u16string> names = AlarmEnumerator::FileNames(folder);
        changed = DropGone(names, list);
        for (const auto& name : names) changed = Follow(folder, name, list) || changed;
    } else {
        // A name that has gone reads as no alarm: its row goes.
        for (const auto& name : changes.names) changed = Follow(folder, name, list) || changed;
    }
    if (!changed) return Result::unchanged;
    list.Select(selected_name.empty() ? -1 : row_named(list, selected_name).value_or(-1));
    return Result::changed;
}

bool AlarmListSync::DropGone(const std::vector<std::u16string>& names, CAlarmListCtrl& list) {
    bool dropped = false;
    for (int index = list.Count() - 1; index >= 0; --index) {
        const std::u16string& name = list.Row(index)->file_name;
        if (std::none_of(names.begin(), names.end(), [&](const auto& file) { return same_name(file, name); })) {
            list.RemoveRow(index);
            dropped = true;
        }
    }
    return dropped;
}

bool AlarmListSync::Follow(const std::u16string& folder, const std::u16string& name, CAlarmListCtrl& list) {
    auto fresh = CAlarmItem::Read(folder, name);
    const auto index = row_named(list, name);
    if (fresh != nullptr) AlarmChangeMarker::MarkSeen(folder + name);
    if (!index) {
        if (fresh == nullptr) return false;
        list.InsertSorted(std::move(fresh));
    } else if (fresh == nullptr) {
        list.RemoveRow(*index);  // gone, or no description any more: not listed, as at start-up
    } else if (!Same(*list.Row(*index), *fresh)) {
        list.Row(*index)->CopyFrom(*fresh);
        list.Resort(*index);
    } else {
        return false;
    }
    return true;
}
