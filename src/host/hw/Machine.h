#pragma once
// The SoC model of this process's handheld, built from its processor profile, with
// what the host keeps around it: whether a driver session is open (register pages
// mapped), pacing, the LED states and the transmissions recorded so far.
//
// All hardware calls run under one process-wide lock (hardware_lock()); the driver uses
// the hardware from one thread, so it is never contended in practice.

#include <cstdint>
#include <filesystem>
#include <memory>
#include <mutex>
#include <optional>

#include "host/hw/lirc/LircBridge.h"
#include "sim/Soc.h"
#include "sim/TraceDecoder.h"

namespace host {
class Device;
}

namespace host::hw {

std::mutex& hardware_lock();

inline constexpr std::string_view kPacingSetting = "sim.pacing";
inline constexpr unsigned kLedCount = 2;

class Machine {
public:
    explicit Machine(Device& device);
    Machine(const Machine&) = delete;
    Machine& operator=(const Machine&) = delete;
    ~Machine();

    // The machine of the current handheld (created with it).
    static Machine& current();

    sim::Soc& soc() { return *soc_; }
    const sim::Profile& profile() const { return soc_->profile(); }

    // Register pages mapped by this process; while any is, time is the SoC's own.
    void page_mapped();
    void page_released();
    bool in_session() const { return mapped_pages_ > 0; }
    // Outside a session the virtual clock follows the host's monotonic clock (it never
    // goes back), so the high-resolution counter still measures real intervals.
    void follow_host_clock();

    void set_pacing(bool on);
    bool pacing() const { return soc_->clock().pacing(); }

    // The handheld's infrared port: a LIRC device under the model, or the log only.
    LircBridge& infrared_port() { return *infrared_port_; }

    void begin_trace();
    // Ends and records the current transmission (if anything was emitted).
    void end_trace();
    const std::optional<sim::DecodedTrace>& last_trace() const { return last_trace_; }
    const std::optional<sim::Transmission>& last_transmission() const { return last_transmission_; }
    std::filesystem::path trace_log() const { return trace_log_; }

    int led(unsigned number) const { return number < kLedCount ? leds_[number] : -1; }
    void set_led(unsigned number, int state);

private:
    void record_transmission(sim::Transmission transmission);

    std::unique_ptr<sim::Soc> soc_;
    std::unique_ptr<LircBridge> infrared_port_;
    std::filesystem::path trace_log_;
    std::int64_t host_origin_ns_ = 0;
    int mapped_pages_ = 0;
    bool tracing_ = false;
    int leds_[kLedCount] = {};
    std::optional<sim::DecodedTrace> last_trace_;
    std::optional<sim::Transmission> last_transmission_;
};

}  // namespace host::hw
