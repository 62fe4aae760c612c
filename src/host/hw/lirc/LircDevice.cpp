#include "host/hw/lirc/LircDevice.h"

#include <linux/lirc.h>

#include <cerrno>
#include <cstring>
#include <vector>

namespace host::hw {

namespace {

std::string joined(const std::vector<std::string>& words) {
    std::string text;
    for (const auto& word : words) text += (text.empty() ? "" : ", ") + word;
    return text;
}

}  // namespace

std::string LircDevice::error_text(int error) const {
    switch (error) {
        case ENOENT:
            return path_ + ": no such device (is the transceiver's kernel module loaded? gpio-ir-tx, gpio-ir-recv, "
                           "mceusb, ...; ls /dev/lirc*)";
        case EACCES:
        case EPERM:
            return path_ + ": permission denied (ls -l " + path_ +
                   " shows its group; join it with sudo usermod -aG GROUP $USER and log in again, or add a udev rule)";
        case EBUSY: return path_ + ": busy: another program holds the device (lircd?); stop it or use another device";
        case ENODEV:
        case ENXIO: return path_ + ": the device has gone (unplugged, or its driver unloaded)";
        case ENOTTY: return path_ + ": not a LIRC device (LIRC_GET_FEATURES: " + std::strerror(ENOTTY) + ")";
        case ETIMEDOUT:
            return path_ + ": did not open within " + std::to_string(LircCalls::kOpenDeadline.count()) +
                   " ms (a device that hangs); the alarm goes on without it";
        default: return path_ + ": " + std::strerror(error);
    }
}

std::string LircDevice::fail(std::string text) {
    close();
    return text;
}

std::string LircDevice::open(const std::string& path, bool send, bool receive) {
    close();
    path_ = path;
    const int fd = calls_->open(path);
    if (fd < 0) return error_text(-fd);
    fd_ = fd;
    if (const int got = calls_->ioctl(fd_, LIRC_GET_FEATURES, &features_); got < 0) {
        // Anything that is not a LIRC device refuses the request with ENOTTY (or EINVAL
        // on some character devices): either way, not one.
        return fail(error_text(got == -EINVAL ? ENOTTY : -got));
    }
    if (send && !can(LIRC_CAN_SEND_PULSE))
        return fail(path + ": cannot send: the device offers no LIRC_CAN_SEND_PULSE (a receiver only?)");
    if (receive && !can(LIRC_CAN_REC_MODE2))
        return fail(path + ": cannot receive: the device offers no LIRC_CAN_REC_MODE2 (a transmitter only? name the "
                           "receiver's device after it: `handheld ir port lirc " +
                    path + " /dev/lircN`)");
    if (send) {
        std::uint32_t mode = LIRC_MODE_PULSE;
        if (const int set = calls_->ioctl(fd_, LIRC_SET_SEND_MODE, &mode); set < 0 && set != -ENOTTY)
            return fail(path + ": cannot send: LIRC_SET_SEND_MODE: " + std::strerror(-set));
    }
    if (receive) {
        std::uint32_t mode = LIRC_MODE_MODE2;
        if (const int set = calls_->ioctl(fd_, LIRC_SET_REC_MODE, &mode); set < 0)
            return fail(path + ": cannot receive: LIRC_SET_REC_MODE: " + std::strerror(-set));
    }
    return {};
}

void LircDevice::close() {
    if (fd_ >= 0) calls_->close(fd_);
    fd_ = -1;
}

std::string LircDevice::capabilities() const {
    std::vector<std::string> parts;
    if (can(LIRC_CAN_SEND_PULSE)) {
        std::vector<std::string> settable;
        if (can(LIRC_CAN_SET_SEND_CARRIER)) settable.emplace_back("carrier");
        if (can(LIRC_CAN_SET_SEND_DUTY_CYCLE)) settable.emplace_back("duty cycle");
        parts.push_back("sends pulses" + (settable.empty() ? std::string(" (carrier fixed by the device)")
                                                           : " (" + joined(settable) + " settable)"));
    }
    if (can(LIRC_CAN_REC_MODE2)) {
        std::vector<std::string> extras;
        if (can(LIRC_CAN_SET_REC_TIMEOUT)) extras.emplace_back("timeout settable");
        extras.emplace_back(can(LIRC_CAN_MEASURE_CARRIER) ? "measures the carrier" : "carrier not measured, 38 kHz assumed");
        parts.push_back("receives mode2 (" + joined(extras) + ")");
    }
    return parts.empty() ? "neither sends pulses nor receives mode2" : joined(parts);
}

}  // namespace host::hw
