#pragma once
// The handheld's infrared port on a kernel LIRC device, under the SoC model: each
// transmission the transmitter trace recorded also goes out through the device, and the
// first sample of the receiver line in a learning session plays what the device's
// receiver heard. The drivers see nothing of it but a serial port that will not open
// when the device cannot be used (their documented 13).
//
// The devices are opened on first use in a driver session and closed when it ends.
// Every event is a line of log/lirc.log; a send's outcome is also kept with its block
// in log/ir.log.

#include <filesystem>
#include <optional>
#include <string>

#include "host/hw/lirc/InfraredPortSetting.h"
#include "host/hw/lirc/LircDevice.h"
#include "host/hw/lirc/LircListener.h"
#include "host/hw/lirc/LircTransmitter.h"
#include "sim/InfraredPress.h"

namespace host::hw {

class LircBridge {
public:
    static constexpr std::string_view kLogName = "lirc.log";
    // How long learning listens for the remote: the learning engines' 20 s, less the
    // little their set-up takes, so a press heard at the end still starts in time.
    static constexpr std::int64_t kListenNs = 19'800'000'000;

    LircBridge(InfraredPortSetting setting, std::filesystem::path log_dir);

    const InfraredPortSetting& setting() const { return setting_; }
    bool active() const { return setting_.lirc(); }
    // Tests stand a device in; the calls must outlive the bridge's use of them.
    void use_calls(LircCalls& calls);

    // Opens what is not open yet; empty when both ends are usable, else why not (logged).
    std::string claim();
    LircSent send(const sim::DecodedTrace& trace);
    std::optional<sim::InfraredPress> listen();
    // The driver session ended: the devices are given back.
    void release();

    // What the last listen heard (or why it heard nothing).
    const std::optional<LircHeard>& last_heard() const { return last_heard_; }
    // The last line logged: a send's outcome, what a listen heard, why the device failed.
    const std::string& last_event() const { return last_event_; }

    // For `handheld ir port`: opens and checks the setting's devices and describes them;
    // empty when usable, else the message.
    static std::string check(const InfraredPortSetting& setting, LircCalls& calls, std::string& description);

private:
    LircDevice& receiver() { return same_device() ? transmitter_ : receiver_; }
    bool same_device() const { return setting_.receive_device() == setting_.send_device(); }
    void log(const std::string& line);

    InfraredPortSetting setting_;
    std::filesystem::path log_path_;
    LircDevice transmitter_;
    LircDevice receiver_;
    std::optional<LircHeard> last_heard_;
    std::string last_event_;
};

}  // namespace host::hw
