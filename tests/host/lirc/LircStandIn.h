#pragma once
// An in-process stand-in for kernel LIRC devices, keeping the rules of the kernel's
// lirc_dev: LIRC_GET_FEATURES bits decide what the other requests do (ENOTTY for what
// the device lacks), LIRC_SET_SEND_CARRIER gives EINVAL outside the device's range and
// LIRC_SET_SEND_DUTY_CYCLE for 0 or 100 and more; a write must hold an odd count of
// 1..1024 non-zero values of at most 500 ms in all, and lasts as long as they do;
// reads hand out 32-bit MODE2 samples (PULSE, SPACE, TIMEOUT, OVERFLOW, and FREQUENCY
// only in carrier-measuring mode) once their time has come. Its clock moves only by
// the time writes, sleeps and polls take, so every run is the same.

#include <linux/lirc.h>

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "host/hw/lirc/LircCalls.h"

namespace lirc_tests {

struct StandInDevice {
    std::uint32_t features = 0;
    bool lirc = true;     // false: a character device of another kind (every ioctl ENOTTY)
    int open_error = 0;   // the errno open fails with (EACCES, EBUSY, ...)
    std::uint32_t lowest_carrier = 25'000, highest_carrier = 60'000;
    std::uint32_t min_timeout = 1'000, max_timeout = 1'250'000;
    int write_error = 0;  // the errno every write fails with (EIO, ENODEV, ...)

    struct Sample {
        std::int64_t arrival_ns;
        std::uint32_t value;
    };
    std::vector<Sample> samples;

    // What was asked of it.
    std::vector<std::vector<std::uint32_t>> writes;
    std::vector<std::int64_t> write_starts_ns;
    std::optional<std::uint32_t> carrier, duty, timeout, rec_mode, send_mode;
    bool measuring = false;
};

class LircStandIn : public host::hw::LircCalls {
public:
    static constexpr std::uint32_t kTransceiver = LIRC_CAN_SEND_PULSE | LIRC_CAN_SET_SEND_CARRIER |
                                                  LIRC_CAN_SET_SEND_DUTY_CYCLE | LIRC_CAN_REC_MODE2 |
                                                  LIRC_CAN_SET_REC_TIMEOUT;

    StandInDevice& add(const std::string& path, std::uint32_t features);
    StandInDevice& device(const std::string& path) { return devices_.at(path); }
    // What a receiver delivers for `entries` (µs, + pulse) whose first pulse begins at
    // `start_ns`: the gap before it as a space, each duration when it ends, the carrier
    // when measuring, then a timeout `timeout_us` after the last pulse.
    static std::vector<StandInDevice::Sample> heard(const std::vector<std::int32_t>& entries, std::int64_t start_ns,
                                                    std::optional<std::uint32_t> carrier_hz, std::uint32_t timeout_us);
    std::int64_t slept_ns() const { return slept_ns_; }
    int open_count() const { return static_cast<int>(open_.size()); }

    int open(const std::string& path) override;
    void close(int fd) override;
    int ioctl(int fd, unsigned long request, std::uint32_t* value) override;
    long read(int fd, void* buffer, std::size_t bytes) override;
    long write(int fd, const void* buffer, std::size_t bytes) override;
    int poll(int fd, int timeout_ms) override;
    std::int64_t now_ns() override { return now_; }
    void sleep_ns(std::int64_t ns) override;

private:
    StandInDevice* of(int fd);
    // Drops FREQUENCY samples that come while not measuring, as the kernel never makes them.
    bool deliverable(StandInDevice& device, std::size_t index) const;

    std::map<std::string, StandInDevice> devices_;
    std::map<int, std::string> open_;
    std::map<int, std::size_t> read_at_;
    int next_fd_ = 100;
    std::int64_t now_ = 0;
    std::int64_t slept_ns_ = 0;
};

}  // namespace lirc_tests
