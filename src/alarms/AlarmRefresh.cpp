#include "alarms/AlarmRefresh.h"

#include <cstdint>
#include <optional>

#include "alarms/AlarmChangeMarker.h"
#include "alarms/AlarmEnumerator.h"
#include "alarms/AlarmStoreLock.h"
#include "alarms/CAlarmDB.h"
#include "ce/Text.h"

namespace {

std::optional<std::size_t> row_of(const AlarmRows& rows, const std::u16string& name) {
    for (std::size_t row = 0; row < rows.RowCount(); ++row)
        if (ce::lstrcmpiW(rows.RowFileName(row).c_str(), name.c_str()) == 0) return row;
    return std::nullopt;
}

}  // namespace

bool AlarmRefresh::Run(const std::u16string& folder, AlarmRows& rows) {
    AlarmStoreLock lock;
    if (!lock.Lock()) return false;
    for (const auto& name : AlarmEnumerator::FileNames(folder)) RefreshFile(folder, name, rows);
    return true;
}

void AlarmRefresh::RefreshFile(const std::u16string& folder, const std::u16string& name, AlarmRows& rows) {
    const std::u16string path = folder + name;
    if (AlarmChangeMarker::Read(path) != AlarmChangeMarker::State::changed) return;
    AlarmChangeMarker::MarkSeen(path);
    const auto row = row_of(rows, name);
    if (!row) return;
    CAlarmDB alarm;
    if (alarm.OpenForReading(path) != CAlarmDB::kOk) return;
    std::uint8_t active = 0;
    if (alarm.GetActive(active) != CAlarmDB::kOk) active = 0;
    rows.SetRowActive(*row, active == 1);
}
