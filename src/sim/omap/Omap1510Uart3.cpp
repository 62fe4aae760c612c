#include "sim/omap/Omap1510Uart3.h"

#include <algorithm>

#include "sim/Soc.h"

namespace sim {

namespace {

constexpr std::uint32_t kBreak = 0x40;
constexpr std::uint32_t kDivisorLatch = 0x80;
constexpr std::uint32_t kEnhancedMode = 0xBF;

}  // namespace

Omap1510Uart3::Omap1510Uart3(Soc& soc, std::uint32_t physical) : RegisterBlock(soc, "UART3", physical) {
    // As the IrDA stack leaves it: SIR mode at 115200 from the 12 MHz reference.
    preset(kLcr, 0x03);
    preset(kMdr1, 0x07);
    preset(kScr, 0x00);
    preset(kAcreg, 0x80);
    preset(kIer, 0x05);
    preset(kOsc12mSel, 0x01);
    dll_ = 0x1A;
    dlh_ = 0x00;
    config3c_ = 0x00;
    efr_ = 0x00;
}

Omap1510Uart3::Bank Omap1510Uart3::bank() const {
    const std::uint32_t lcr = stored(kLcr) & 0xFF;
    if (lcr == kEnhancedMode) return Bank::enhanced;
    return (lcr & kDivisorLatch) != 0 ? Bank::divisor : Bank::operational;
}

std::uint32_t Omap1510Uart3::banked(std::uint32_t offset) const {
    const Bank current = bank();
    if (current == Bank::operational) return stored(offset);
    if (offset == kThr) return dll_;
    if (offset == kIer) return dlh_;
    if (offset == kAcreg) return config3c_;
    if (offset == kEfr && current == Bank::enhanced) return efr_;
    return stored(offset);
}

bool Omap1510Uart3::shifting_enabled() const {
    return (stored(kMdr1) & 0x07) == 0 && ((dlh_ & 0xFF) << 8 | (dll_ & 0xFF)) != 0;
}

void Omap1510Uart3::transmit(std::uint8_t byte) {
    if (!shifting_enabled()) return;
    const std::uint32_t lcr = stored(kLcr);
    const unsigned data_bits = 5 + (lcr & 3);
    const unsigned stop_bits = (lcr & 0x04) != 0 ? 2 : 1;
    const std::uint64_t divisor = (dlh_ & 0xFF) << 8 | (dll_ & 0xFF);
    const std::uint64_t clock = (stored(kOsc12mSel) & 1) != 0 ? 12'000'000 : 48'000'000;
    Frame frame;
    frame.bit_rate = Rate(clock, 16 * divisor);
    frame.length = 1 + data_bits + stop_bits;
    // Start bit 0, data LSB first, stop bits 1.
    frame.bits = (std::uint32_t{byte} & ((1u << data_bits) - 1)) << 1 | (((1u << stop_bits) - 1) << (1 + data_bits));
    frame.start_ns = frames_.empty() ? now() : std::max(now(), frames_.back().end_ns());
    frames_.push_back(frame);
    ++bytes_sent_;
}

void Omap1510Uart3::emit_led(bool line_low, std::int64_t ns) {
    soc().set_led(line_low && (stored(kLcr) & kBreak) == 0, ns);
}

// Replays the line from where it was last drawn up to now, bit boundary by bit boundary.
void Omap1510Uart3::advance() {
    const std::int64_t until = now();
    while (!frames_.empty()) {
        const Frame& frame = frames_.front();
        for (; emitted_bit_ < frame.length; ++emitted_bit_) {
            const std::int64_t at = frame.start_ns + frame.bit_rate.ns_for(emitted_bit_);
            if (at > until) {
                return;
            }
            emit_led(((frame.bits >> emitted_bit_) & 1) == 0, at);
        }
        const std::int64_t end = frame.end_ns();
        if (end > until) {
            return;
        }
        emit_led(false, end);
        frames_.pop_front();
        emitted_bit_ = 0;
    }
}

std::uint32_t Omap1510Uart3::line_status() {
    advance();
    std::uint32_t lsr = stored(kLsr) & ~(kThre | kTemt);
    if (frames_.empty()) return lsr | kThre | kTemt;
    if (frames_.size() == 1 && frames_.front().start_ns <= now()) lsr |= kThre;
    return lsr;
}

std::int64_t Omap1510Uart3::wake_up_edge() const {
    return armed_ns_ < 0 ? kNever : soc().receiver().next_fall(armed_ns_);
}

std::uint32_t Omap1510Uart3::read_register(std::uint32_t offset) {
    if (offset == kLsr) return line_status();
    if (offset == kSsr) return (stored(kSsr) & ~kWakeUpEdge) | (wake_up_edge() <= now() ? kWakeUpEdge : 0);
    return banked(offset);
}

void Omap1510Uart3::write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) {
    advance();
    const Bank current = bank();
    if (current != Bank::operational && (offset == kThr || offset == kIer || offset == kAcreg ||
                                         (offset == kEfr && current == Bank::enhanced))) {
        std::uint32_t& target = offset == kThr ? dll_ : offset == kIer ? dlh_ : offset == kAcreg ? config3c_ : efr_;
        target = (target & ~lanes) | (value & lanes);
        return;
    }
    if (offset == kThr) return transmit(static_cast<std::uint8_t>(value & 0xFF));
    if (offset == kLsr || offset == kSsr) return;
    const bool was_armed = (stored(kScr) & kWakeUpEnable) != 0;
    RegisterBlock::write_register(offset, value, lanes);
    if (offset == kScr) {
        const bool armed = (stored(kScr) & kWakeUpEnable) != 0;
        if (armed && !was_armed) {
            soc().receiver().sample_high(now());
            armed_ns_ = now();
        } else if (!armed) {
            armed_ns_ = -1;
        }
    }
    if (offset == kLcr || offset == kMdr1) {
        // A break or a disabled UART darkens the line at once; releasing it shows
        // whatever bit is on the line now.
        const bool low = !frames_.empty() && emitted_bit_ > 0 && emitted_bit_ <= frames_.front().length &&
                         ((frames_.front().bits >> (emitted_bit_ - 1)) & 1) == 0;
        emit_led(low && (stored(kMdr1) & 7) == 0, now());
    }
}

std::int64_t Omap1510Uart3::next_change(std::uint32_t offset) const {
    if (offset == kSsr) {
        const std::int64_t edge = wake_up_edge();
        if (armed_ns_ < 0 || edge <= now()) return kNever;
        return std::min(edge, now() + Receiver::kPollStepNs);
    }
    if (offset != kLsr || frames_.empty()) return kNever;
    if (frames_.size() > 1) return frames_[1].start_ns;
    return frames_.front().start_ns > now() ? frames_.front().start_ns : frames_.front().end_ns();
}

void Omap1510Uart3::set_infrared(bool on) { store(kMdr1, on ? 0x01 : 0x07); }

}  // namespace sim
