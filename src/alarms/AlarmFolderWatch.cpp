#include "alarms/AlarmFolderWatch.h"

#include "ce/FileChange.h"
#include "ce/Sync.h"

AlarmFolderWatch::~AlarmFolderWatch() {
    if (change_ != ce::INVALID_HANDLE_VALUE) ce::FindCloseChangeNotification(change_);
}

bool AlarmFolderWatch::Watch(const std::u16string& folder) {
    if (change_ != ce::INVALID_HANDLE_VALUE) ce::FindCloseChangeNotification(change_);
    change_ = ce::INVALID_HANDLE_VALUE;
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

bool AlarmFolderWatch::Changed() {
    if (change_ == ce::INVALID_HANDLE_VALUE) return !folder_.empty() && Open();
    if (ce::WaitForSingleObject(change_, 0) != ce::WAIT_OBJECT_0) return false;
    ce::FindNextChangeNotification(change_);
    return true;
}
