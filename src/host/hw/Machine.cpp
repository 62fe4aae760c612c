#include "host/hw/Machine.h"

#include <algorithm>
#include <chrono>
#include <string>

#include "host/Device.h"
#include "host/hw/ReceiverQueue.h"
#include "host/hw/TraceLog.h"

namespace host::hw {

namespace {

std::int64_t host_now_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

constexpr std::int64_t kSessionAlignNs = 5'000'000;

}  // namespace

std::mutex& hardware_lock() {
    static std::mutex lock;
    return lock;
}

Machine::Machine(Device& device)
    : soc_(std::make_unique<sim::Soc>(sim::profile_or_default(device.database().setting(sim::kProfileSetting)))),
      infrared_port_(std::make_unique<LircBridge>(
          InfraredPortSetting::stored(device.database().setting(InfraredPortSetting::kSetting)), device.log_dir())),
      trace_log_(device.log_dir() / TraceLog::kFileName),
      host_origin_ns_(host_now_ns()) {
    // A real infrared port keeps to the wall clock whatever the setting says: the pauses
    // of a macro are real time in front of the real TV.
    soc_->clock().set_pacing(device.database().setting(kPacingSetting).value_or("on") != "off" ||
                             infrared_port_->active());
    soc_->receiver().set_source([this, run_dir = device.run_dir()] {
        return infrared_port_->active() ? infrared_port_->listen() : ReceiverQueue(run_dir).take();
    });
}

Machine::~Machine() {
    if (soc_->line().has_edges()) record_transmission(soc_->end_transmission());
}

Machine& Machine::current() { return Device::current().machine(); }

// A session starts on a 5 ms boundary of virtual time, where the ticks of every counter
// the models run line up (3.6864 MHz, 3.25 MHz, 3.038 MHz, 6.48 MHz and the PWM rates
// all fit a whole number of ticks into 5 ms), so the same accesses give the same trace
// in every session, however long the process ran before.
void Machine::page_mapped() {
    if (mapped_pages_++ != 0) return;
    soc_->receiver().new_session();
    auto& clock = soc_->clock();
    const std::int64_t start = std::max(clock.now(), host_now_ns() - host_origin_ns_);
    clock.advance_to((start / kSessionAlignNs + 1) * kSessionAlignNs);
    clock.set_pacing(clock.pacing());  // pacing measures from the session's start
}

void Machine::page_released() {
    if (mapped_pages_ > 0 && --mapped_pages_ == 0) {
        // Edges emitted outside a framed transmission still count as one.
        if (!tracing_ && soc_->line().has_edges()) record_transmission(soc_->end_transmission());
        infrared_port_->release();
        // From here the clock runs with the host's again, from wherever the session left it.
        host_origin_ns_ = host_now_ns() - soc_->clock().now();
    }
}

void Machine::follow_host_clock() {
    if (!in_session()) soc_->clock().advance_to(host_now_ns() - host_origin_ns_);
}

void Machine::set_pacing(bool on) { soc_->clock().set_pacing(on); }

void Machine::begin_trace() {
    if (soc_->line().has_edges()) record_transmission(soc_->end_transmission());
    soc_->begin_transmission();
    tracing_ = true;
}

void Machine::end_trace() {
    tracing_ = false;
    record_transmission(soc_->end_transmission());
}

void Machine::record_transmission(sim::Transmission transmission) {
    if (transmission.edges.empty()) return;
    last_trace_ = sim::TraceDecoder::decode(transmission);
    // Sent first, so the block the log keeps says how the real port took it.
    const std::string outcome = infrared_port_->active() ? infrared_port_->send(*last_trace_).text : std::string();
    TraceLog(trace_log_).append(*last_trace_, transmission, soc_->profile().name, outcome);
    last_transmission_ = std::move(transmission);
}

void Machine::set_led(unsigned number, int state) {
    if (number >= kLedCount) return;
    soc_->journal().record("LED " + std::to_string(number), static_cast<std::uint32_t>(leds_[number]),
                           static_cast<std::uint32_t>(state), soc_->clock().now());
    leds_[number] = state;
}

}  // namespace host::hw
