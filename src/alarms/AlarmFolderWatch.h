#pragma once
// Tells a program that shows the alarm store when the alarms folder has changed: an
// alarm file made, removed or written by another program (or a terminal). Cheap to ask
// often: it only looks whether the folder's change notification is signalled.

#include <string>

#include "ce/Types.h"

class AlarmFolderWatch {
public:
    AlarmFolderWatch() = default;
    ~AlarmFolderWatch();
    AlarmFolderWatch(const AlarmFolderWatch&) = delete;
    AlarmFolderWatch& operator=(const AlarmFolderWatch&) = delete;

    // Watches `folder` (with or without its trailing "\"); false when it cannot be
    // watched yet (no such folder): Changed() then tries again.
    bool Watch(const std::u16string& folder);
    // True once after each change, or burst of changes, of the folder: the changes seen so
    // far are let go of first, so one made while the caller reads the folder is told next
    // time. Also true when a folder that could not be watched can be now.
    bool Changed();

private:
    bool Open();

    std::u16string folder_;
    ce::HANDLE change_ = ce::INVALID_HANDLE_VALUE;
};
