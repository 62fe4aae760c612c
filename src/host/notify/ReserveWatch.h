#pragma once
// The handheld's reserve (DiskReserve) as the service sees it: given back to a full disk,
// it is the service's trouble, said in the log and in `handheld status` while it lasts,
// and it is kept again as soon as the disk has room. Alarms ring on what it gave back.

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>

#include "host/DeviceLog.h"

namespace host {

class ReserveWatch {
public:
    ReserveWatch(std::filesystem::path reserve, const DeviceLog& log) : reserve_(std::move(reserve)), log_(log) {}

    // Looks whether the reserve is there, making it again when the disk has room.
    void check();
    // "the disk holding the handheld is full since TIME: ..."; nothing while the reserve is kept.
    const std::optional<std::string>& trouble() const { return trouble_; }
    // How long the service may sleep before it looks again, while the reserve is gone.
    std::optional<std::chrono::milliseconds> check_due() const;
    static constexpr std::chrono::seconds kCheckEvery{5};

private:
    std::filesystem::path reserve_;
    const DeviceLog& log_;
    std::optional<std::string> trouble_;
    std::chrono::steady_clock::time_point next_check_{};
};

}  // namespace host
