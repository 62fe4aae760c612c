#pragma once
// Where the handheld's infrared port ends, device setting "ir.port": "sim" (the
// transmitter's trace goes to log/ir.log only and learning hears `handheld ir press`) or
// "lirc SEND [RECEIVE]", a kernel LIRC device that also sends every transmission and
// whose receiver learning hears; RECEIVE names a second device for a receiver of its
// own (gpio-ir-recv beside gpio-ir-tx), else SEND receives too.

#include <optional>
#include <string>
#include <string_view>

namespace host::hw {

class InfraredPortSetting {
public:
    static constexpr std::string_view kSetting = "ir.port";

    InfraredPortSetting() = default;  // sim
    InfraredPortSetting(std::string send_device, std::string receive_device);

    // Nothing for a text that is neither form; paths are one word each.
    static std::optional<InfraredPortSetting> parse(std::string_view text);
    // The setting as stored, absent or unreadable meaning sim.
    static InfraredPortSetting stored(const std::optional<std::string>& value);

    bool lirc() const { return !send_device_.empty(); }
    const std::string& send_device() const { return send_device_; }
    const std::string& receive_device() const { return receive_device_; }
    std::string text() const;

private:
    std::string send_device_;
    std::string receive_device_;
};

}  // namespace host::hw
