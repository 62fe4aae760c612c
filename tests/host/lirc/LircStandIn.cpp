#include "LircStandIn.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace lirc_tests {

namespace {

constexpr std::size_t kLircBufSize = 1024;
constexpr std::uint64_t kIrMaxDurationUs = 500'000;

}  // namespace

StandInDevice& LircStandIn::add(const std::string& path, std::uint32_t features) {
    StandInDevice& device = devices_[path];
    device.features = features;
    return device;
}

std::vector<StandInDevice::Sample> LircStandIn::heard(const std::vector<std::int32_t>& entries, std::int64_t start_ns,
                                                      std::optional<std::uint32_t> carrier_hz, std::uint32_t timeout_us) {
    std::vector<StandInDevice::Sample> samples;
    std::int64_t t = start_ns;
    samples.push_back({t, LIRC_SPACE(0xFFFFFF)});  // the kernel's gap since the last press
    for (const std::int32_t entry : entries) {
        t += std::int64_t{std::abs(entry)} * 1000;
        samples.push_back({t, entry > 0 ? LIRC_PULSE(static_cast<std::uint32_t>(entry))
                                        : LIRC_SPACE(static_cast<std::uint32_t>(-entry))});
    }
    t += std::int64_t{timeout_us} * 1000;
    if (carrier_hz) samples.push_back({t, LIRC_FREQUENCY(*carrier_hz)});
    samples.push_back({t, LIRC_TIMEOUT(timeout_us)});
    return samples;
}

StandInDevice* LircStandIn::of(int fd) {
    const auto found = open_.find(fd);
    return found == open_.end() ? nullptr : &devices_.at(found->second);
}

int LircStandIn::open(const std::string& path) {
    const auto found = devices_.find(path);
    if (found == devices_.end()) return -ENOENT;
    if (found->second.open_error != 0) return -found->second.open_error;
    const int fd = next_fd_++;
    open_[fd] = path;
    read_at_[fd] = 0;
    return fd;
}

void LircStandIn::close(int fd) {
    open_.erase(fd);
    read_at_.erase(fd);
}

int LircStandIn::ioctl(int fd, unsigned long request, std::uint32_t* value) {
    StandInDevice* device = of(fd);
    if (device == nullptr) return -EBADF;
    if (!device->lirc) return -ENOTTY;
    const std::uint32_t features = device->features;
    const auto has = [features](std::uint32_t bit) { return (features & bit) != 0; };
    switch (request) {
        case LIRC_GET_FEATURES: *value = features; return 0;
        case LIRC_SET_SEND_MODE:
            if (!has(LIRC_CAN_SEND_PULSE)) return -ENOTTY;
            if (*value != LIRC_MODE_PULSE) return -EINVAL;
            device->send_mode = *value;
            return 0;
        case LIRC_SET_REC_MODE:
            if (!has(LIRC_CAN_REC_MODE2)) return -ENOTTY;
            if (*value != LIRC_MODE_MODE2) return -EINVAL;
            device->rec_mode = *value;
            return 0;
        case LIRC_SET_SEND_CARRIER:
            if (!has(LIRC_CAN_SET_SEND_CARRIER)) return -ENOTTY;
            if (*value < device->lowest_carrier || *value > device->highest_carrier) return -EINVAL;
            device->carrier = *value;
            return 0;
        case LIRC_SET_SEND_DUTY_CYCLE:
            if (!has(LIRC_CAN_SET_SEND_DUTY_CYCLE)) return -ENOTTY;
            if (*value == 0 || *value >= 100) return -EINVAL;
            device->duty = *value;
            return 0;
        case LIRC_GET_MIN_TIMEOUT:
        case LIRC_GET_MAX_TIMEOUT:
            if (!has(LIRC_CAN_SET_REC_TIMEOUT)) return -ENOTTY;
            *value = request == LIRC_GET_MIN_TIMEOUT ? device->min_timeout : device->max_timeout;
            return 0;
        case LIRC_SET_REC_TIMEOUT:
            if (!has(LIRC_CAN_SET_REC_TIMEOUT)) return -ENOTTY;
            if (*value < device->min_timeout || *value > device->max_timeout) return -EINVAL;
            device->timeout = *value;
            return 0;
        case LIRC_SET_MEASURE_CARRIER_MODE:
            if (!has(LIRC_CAN_MEASURE_CARRIER)) return -ENOTTY;
            device->measuring = *value != 0;
            return 0;
        default: return -ENOTTY;
    }
}

long LircStandIn::write(int fd, const void* buffer, std::size_t bytes) {
    StandInDevice* device = of(fd);
    if (device == nullptr) return -EBADF;
    if ((device->features & LIRC_CAN_SEND_PULSE) == 0) return -EINVAL;
    if (device->write_error != 0) return -device->write_error;
    if (bytes < 4 || bytes % 4 != 0) return -EINVAL;
    const std::size_t count = bytes / 4;
    if (count > kLircBufSize || count % 2 == 0) return -EINVAL;
    std::vector<std::uint32_t> values(count);
    std::memcpy(values.data(), buffer, bytes);
    std::uint64_t duration = 0;
    for (const std::uint32_t value : values) {
        if (value == 0 || value > kIrMaxDurationUs - duration) return -EINVAL;
        duration += value;
    }
    device->writes.push_back(std::move(values));
    device->write_starts_ns.push_back(now_);
    now_ += static_cast<std::int64_t>(duration) * 1000;  // blocks until the device has sent it
    return static_cast<long>(bytes);
}

bool LircStandIn::deliverable(StandInDevice& device, std::size_t index) const {
    return LIRC_MODE2(device.samples[index].value) != LIRC_MODE2_FREQUENCY || device.measuring;
}

long LircStandIn::read(int fd, void* buffer, std::size_t bytes) {
    StandInDevice* device = of(fd);
    if (device == nullptr) return -EBADF;
    if ((device->features & LIRC_CAN_REC_MODE2) == 0) return -EINVAL;
    if (bytes < 4 || bytes % 4 != 0) return -EINVAL;
    std::size_t& at = read_at_[fd];
    auto* out = static_cast<std::uint32_t*>(buffer);
    std::size_t given = 0;
    for (; at < device->samples.size() && device->samples[at].arrival_ns <= now_ && given < bytes / 4; ++at)
        if (deliverable(*device, at)) out[given++] = device->samples[at].value;
    return given == 0 ? -EAGAIN : static_cast<long>(given * 4);
}

int LircStandIn::poll(int fd, int timeout_ms) {
    StandInDevice* device = of(fd);
    if (device == nullptr) return -EBADF;
    std::size_t at = read_at_[fd];
    while (at < device->samples.size() && !deliverable(*device, at)) ++at;
    const std::int64_t until = now_ + std::int64_t{timeout_ms} * 1'000'000;
    if (at < device->samples.size() && device->samples[at].arrival_ns <= until) {
        now_ = std::max(now_, device->samples[at].arrival_ns);
        return 1;
    }
    now_ = until;
    return 0;
}

void LircStandIn::sleep_ns(std::int64_t ns) {
    if (ns <= 0) return;
    now_ += ns;
    slept_ns_ += ns;
}

}  // namespace lirc_tests
