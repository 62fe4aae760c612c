#pragma once
// Watches the link that names the computer's zone (ComputerZone::link()). Tools replace
// the link rather than write it (timedatectl makes a new one and renames it over the
// old), so the watch is on its folder, for entries of the link's name.

#include <filesystem>

namespace host {

class ComputerZoneWatch {
public:
    ComputerZoneWatch();
    ~ComputerZoneWatch();
    ComputerZoneWatch(const ComputerZoneWatch&) = delete;
    ComputerZoneWatch& operator=(const ComputerZoneWatch&) = delete;

    // For poll(); -1 when the folder cannot be watched (then nothing is ever seen).
    int fd() const { return fd_; }
    // Reads what the folder reported: whether the link was made, replaced or removed.
    bool link_touched();

private:
    std::filesystem::path link_;
    int fd_ = -1;
};

}  // namespace host
