#include "alarms/AlarmFolderWatch.h"

#include <algorithm>
#include <cstddef>
#include <cstring>

#include "alarms/AlarmEnumerator.h"
#include "ce/FileChange.h"
#include "ce/Sync.h"
#include "ce/Text.h"

namespace {

// Room for many records of the longest name at once.
constexpr ce::DWORD kRecordBuffer = 8192;

void add_name(std::vector<std::u16string>& names, const std::u16string& name) {
    const bool known = std::any_of(names.begin(), names.end(), [&](const std::u16string& seen) {
        return ce::lstrcmpiW(seen.c_str(), name.c_str()) == 0;
    });
    if (!known) names.push_back(name);
}

}  // namespace

void AlarmFolderWatch::Changes::Add(const Changes& later) {
    everything = everything || later.everything;
    for (const auto& name : later.names) add_name(names, name);
}

AlarmFolderWatch::~AlarmFolderWatch() { Close(); }

void AlarmFolderWatch::Close() {
    if (change_ != ce::INVALID_HANDLE_VALUE) ce::FindCloseChangeNotification(change_);
    change_ = ce::INVALID_HANDLE_VALUE;
}

bool AlarmFolderWatch::Watch(const std::u16string& folder) {
    Close();
    folder_ = folder;
    if (folder_.size() > 1 && folder_.back() == u'\\') folder_.pop_back();
    return Open();
}

bool AlarmFolderWatch::Open() {
    // Names for files made, removed and renamed; last write for a file written again.
    change_ = ce::FindFirstChangeNotificationW(folder_.c_str(), ce::FALSE,
                                               ce::FILE_NOTIFY_CHANGE_FILE_NAME | ce::FILE_NOTIFY_CHANGE_LAST_WRITE);
    return change_ != ce::INVALID_HANDLE_VALUE;
}

AlarmFolderWatch::Changes AlarmFolderWatch::Changed() {
    Changes changes;
    if (change_ == ce::INVALID_HANDLE_VALUE) {
        changes.everything = !folder_.empty() && Open();
        return changes;
    }
    if (ce::WaitForSingleObject(change_, 0) != ce::WAIT_OBJECT_0) return changes;
    if (!TakeNames(changes)) {
        // The watch may have gone with the folder: a new one follows the folder made again.
        Close();
        Open();
        changes.everything = true;
    }
    return changes;
}

bool AlarmFolderWatch::TakeNames(Changes& changes) {
    alignas(ce::FILE_NOTIFY_INFORMATION) unsigned char buffer[kRecordBuffer];
    for (;;) {
        ce::DWORD got = 0, waiting = 0;
        if (!ce::CeGetFileNotificationInfo(change_, 0, buffer, sizeof buffer, &got, &waiting)) return false;
        for (ce::DWORD at = 0; at < got;) {
            ce::FILE_NOTIFY_INFORMATION record;
            std::memcpy(&record, buffer + at, offsetof(ce::FILE_NOTIFY_INFORMATION, FileName));
            std::u16string name(record.FileNameLength / sizeof(ce::WCHAR), u'\0');
            std::memcpy(name.data(), buffer + at + offsetof(ce::FILE_NOTIFY_INFORMATION, FileName),
                        name.size() * sizeof(ce::WCHAR));
            // The copies the store writes beside an alarm ("N.kivo.~tmp") become it by a rename.
            if (AlarmEnumerator::IsAlarmName(name)) add_name(changes.names, name);
            if (record.NextEntryOffset == 0) break;
            at += record.NextEntryOffset;
        }
        if (waiting == 0) return true;
    }
}
