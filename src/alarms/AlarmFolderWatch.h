#pragma once
// Tells a program that shows the alarm store which alarm files have changed since it last
// asked: made, removed or written by another program (or a terminal), so that it reads
// those again and no others. Cheap to ask often: when nothing changed it only looks
// whether the folder's change notification is signalled. Reading the files (opened for
// reading only) is no change.

#include <string>
#include <vector>

#include "ce/Types.h"

class AlarmFolderWatch {
public:
    // What changed: the names of alarm files ("N.kivo") made, written, renamed or removed,
    // or `everything` when the folder is to be read again as a whole.
    struct Changes {
        bool everything = false;
        std::vector<std::u16string> names;

        bool Any() const { return everything || !names.empty(); }
        // Adds the changes of `later` (a name once).
        void Add(const Changes& later);
        void Clear() { *this = Changes{}; }
    };

    AlarmFolderWatch() = default;
    ~AlarmFolderWatch();
    AlarmFolderWatch(const AlarmFolderWatch&) = delete;
    AlarmFolderWatch& operator=(const AlarmFolderWatch&) = delete;

    // Watches `folder` (with or without its trailing "\"); false when it cannot be
    // watched yet (no such folder): Changed() then tries again.
    bool Watch(const std::u16string& folder);
    // The changes since the last call, taken: one made while the caller reads the folder
    // is told next time. Everything when changes were lost, or when a folder that could
    // not be watched can be now.
    Changes Changed();

private:
    bool Open();
    void Close();
    // Takes the named changes the notification holds; false when some were lost.
    bool TakeNames(Changes& changes);

    std::u16string folder_;
    ce::HANDLE change_ = ce::INVALID_HANDLE_VALUE;
};
