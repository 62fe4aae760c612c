#pragma once
// Space set aside on the disk that holds the handheld, so that a full disk does not
// silence an alarm: every program records its windows, processes and registrations in
// device.db, and on a disk without a free block none of them could start. The reserve is
// a file of kBytes blocks beside device.db ("reserve"); the first write the disk refuses
// (device.db's, a named mutex's file) deletes it and is tried again in the space it
// leaves, and the handheld keeps one again once the disk has room.

#include <cstddef>
#include <filesystem>

namespace host {

class DiskReserve {
public:
    // Room for hours of device.db's bookkeeping (windows, starts, the log of changes).
    static constexpr std::size_t kBytes = std::size_t{2} << 20;
    static constexpr const char* kFileName = "reserve";

    // The reserve of the handheld at `root`.
    static std::filesystem::path of(const std::filesystem::path& root) { return root / kFileName; }
    // Makes the reserve when there is none and the disk has room for it twice over;
    // whether there is one.
    static bool keep(const std::filesystem::path& reserve);
    // Gives the reserve's space back to the disk; whether there was one to give.
    static bool release(const std::filesystem::path& reserve);
    static bool kept(const std::filesystem::path& reserve);
};

}  // namespace host
