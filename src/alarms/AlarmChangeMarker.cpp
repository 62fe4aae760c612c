#include "alarms/AlarmChangeMarker.h"

#include "ce/Files.h"

namespace {

// The attributes a caller may set: what was read, less those the file system decides.
constexpr ce::DWORD kSettable = ce::FILE_ATTRIBUTE_READONLY | ce::FILE_ATTRIBUTE_HIDDEN |
                                ce::FILE_ATTRIBUTE_SYSTEM | ce::FILE_ATTRIBUTE_ARCHIVE;

bool change(const std::u16string& path, bool archive, ce::DWORD attributes) {
    if (attributes == ce::INVALID_FILE_ATTRIBUTES) return false;
    ce::DWORD wanted = attributes & kSettable;
    wanted = archive ? wanted | ce::FILE_ATTRIBUTE_ARCHIVE : wanted & ~ce::FILE_ATTRIBUTE_ARCHIVE;
    // Marking what is marked already writes nothing: a list of many alarms loads without
    // a write per file.
    if (wanted == (attributes & kSettable)) return true;
    // No attribute at all is written as "normal".
    return ce::SetFileAttributesW(path.c_str(), wanted == 0 ? ce::FILE_ATTRIBUTE_NORMAL : wanted) != ce::FALSE;
}

}  // namespace

AlarmChangeMarker::State AlarmChangeMarker::Read(const std::u16string& path) {
    const ce::DWORD attributes = ce::GetFileAttributesW(path.c_str());
    if (attributes == ce::INVALID_FILE_ATTRIBUTES) return State::unreadable;
    return (attributes & ce::FILE_ATTRIBUTE_ARCHIVE) != 0 ? State::seen : State::changed;
}

bool AlarmChangeMarker::MarkSeen(const std::u16string& path) {
    return change(path, true, ce::GetFileAttributesW(path.c_str()));
}

bool AlarmChangeMarker::MarkSeen(const std::u16string& path, ce::DWORD attributes) {
    return change(path, true, attributes);
}

bool AlarmChangeMarker::MarkChanged(const std::u16string& path) {
    return change(path, false, ce::GetFileAttributesW(path.c_str()));
}
