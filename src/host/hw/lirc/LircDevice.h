#pragma once
// One kernel LIRC device opened by the infrared port bridge, checked for what it is to
// do: sending asks for LIRC_CAN_SEND_PULSE, receiving for LIRC_CAN_REC_MODE2 (and puts
// it in LIRC_MODE_MODE2). A failure is told in words a user can act on: a missing
// device, permissions, a busy one, one that is not a LIRC device (ENOTTY), one that
// cannot send or cannot receive.

#include <cstdint>
#include <string>

#include "host/hw/lirc/LircCalls.h"

namespace host::hw {

class LircDevice {
public:
    explicit LircDevice(LircCalls& calls) : calls_(&calls) {}
    LircDevice(const LircDevice&) = delete;
    LircDevice& operator=(const LircDevice&) = delete;
    ~LircDevice() { close(); }

    // Empty when `path` is open and can do what was asked, else what is wrong (closed).
    std::string open(const std::string& path, bool send, bool receive);
    void close();
    // Closes the device and makes later calls through `calls`.
    void use_calls(LircCalls& calls) {
        close();
        calls_ = &calls;
    }
    bool is_open() const { return fd_ >= 0; }

    const std::string& path() const { return path_; }
    std::uint32_t features() const { return features_; }
    bool can(std::uint32_t feature) const { return (features_ & feature) == feature; }
    int fd() const { return fd_; }
    LircCalls& calls() const { return *calls_; }

    // "sends pulses (carrier and duty cycle settable), receives mode2 (...)".
    std::string capabilities() const;
    // What an errno of open, an ioctl, read or write means here, with the path.
    std::string error_text(int error) const;

private:
    std::string fail(std::string text);

    LircCalls* calls_;
    std::string path_;
    int fd_ = -1;
    std::uint32_t features_ = 0;
};

}  // namespace host::hw
