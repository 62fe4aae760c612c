#include "signals/LircRemote.h"

#include <algorithm>
#include <numeric>

namespace handheld {

namespace {

// Adds a pulse (us > 0) or a space (us < 0): a shift-encoded bit that follows the same
// level lengthens it, and a space before the first pulse is not light anyone can see.
void push(std::vector<std::int32_t>& frame, std::int64_t us) {
    if (us == 0 || (frame.empty() && us < 0)) return;
    if (!frame.empty() && (frame.back() > 0) == (us > 0)) {
        frame.back() = static_cast<std::int32_t>(frame.back() + us);
        return;
    }
    frame.push_back(static_cast<std::int32_t>(us));
}

void push(std::vector<std::int32_t>& frame, const LircPair& pair, std::uint32_t times = 1) {
    push(frame, std::int64_t{pair.pulse} * times);
    push(frame, -std::int64_t{pair.space} * times);
}

std::int64_t length(const std::vector<std::int32_t>& frame) {
    return std::accumulate(frame.begin(), frame.end(), std::int64_t{0},
                           [](std::int64_t sum, std::int32_t entry) { return sum + (entry > 0 ? entry : -std::int64_t{entry}); });
}

}  // namespace

const LircButton* LircRemote::button(const std::string& wanted) const {
    for (const LircButton& candidate : buttons)
        if (candidate.name == wanted) return &candidate;
    return nullptr;
}

std::string LircRemote::protocol() const {
    if (flags & kRawCodes) return "raw codes";
    if (flags & kRc6) return "RC6";
    if (flags & kRcmm) return "RC-MM";
    if (flags & kShiftEnc) return "shift encoded (RC5)";
    return "space encoded";
}

void LircRemote::add_bits(std::vector<std::int32_t>& frame, std::uint64_t value, unsigned count,
                          std::uint64_t& position) const {
    const unsigned total = pre_data_bits + bits + post_data_bits;
    // RC6's trailer bit, the fifth it sends, lasts twice as long as the others.
    const std::uint64_t doubled = (flags & kRc6) == 0 ? 0 : rc6_mask != 0 ? rc6_mask : total >= 5 ? std::uint64_t{1} << (total - 5) : 0;
    const unsigned step = (flags & kRcmm) != 0 ? 2 : 1;
    for (unsigned sent = 0; sent + step <= count; sent += step) {
        // Most significant bit first, unless REVERSE sends each field from its least.
        const unsigned shift = (flags & kReverse) != 0 ? sent : count - step - sent;
        const unsigned symbol = static_cast<unsigned>((value >> shift) & (step == 2 ? 3u : 1u));
        const std::uint64_t mask_bit = std::uint64_t{1} << (total - 1 - position);
        position += step;
        if ((flags & kRcmm) != 0) {
            const LircPair* symbols[] = {&zero, &one, &two, &three};
            push(frame, *symbols[symbol]);
        } else if ((flags & (kShiftEnc | kRc6)) != 0) {
            // A one is a space then a pulse, a zero a pulse then a space.
            const LircPair& half = symbol != 0 ? one : zero;
            const std::uint32_t times = (doubled & mask_bit) != 0 ? 2 : 1;
            if (symbol != 0) {
                push(frame, -std::int64_t{half.space} * times);
                push(frame, std::int64_t{half.pulse} * times);
            } else {
                push(frame, half, times);
            }
        } else {
            push(frame, symbol != 0 ? one : zero);
        }
    }
}

void LircRemote::add_gap(std::vector<std::int32_t>& frame, bool before_repeat) const {
    std::int64_t space = gap;
    if (before_repeat && repeat_gap != 0) space = repeat_gap;
    // CONST_LENGTH: the gap is the length of the whole frame, its space what is left of it.
    else if ((flags & kConstLength) != 0 && gap > length(frame)) space = gap - length(frame);
    // A gap only keeps presses apart: one of more than a second is sent as the longest
    // space the driver takes.
    push(frame, -std::min<std::int64_t>(space, InfraredSignal::kLongestEntryUs));
}

std::vector<std::int32_t> LircRemote::frame(const LircButton& button, bool repeated, bool toggled) const {
    std::vector<std::int32_t> frame;
    if ((flags & kRawCodes) != 0) {
        for (std::size_t k = 0; k < button.raw.size(); ++k) push(frame, k % 2 == 0 ? std::int64_t{button.raw[k]} : -std::int64_t{button.raw[k]});
        return frame;
    }
    const bool repeat_code = repeated && repeat.set();
    if (!repeated || (repeat_code ? (flags & kRepeatHeader) != 0 : (flags & kNoHeadRep) == 0)) push(frame, header);
    push(frame, plead);
    if (repeat_code) {
        push(frame, repeat);
    } else {
        std::uint64_t position = 0;
        const std::uint64_t code = button.codes.empty() ? 0 : button.codes.front();
        // The toggle mask covers pre data, code and post data as one word, post data last.
        const std::uint64_t toggle = toggled ? toggle_mask : 0;
        const auto field = [&](std::uint64_t value, unsigned shift, unsigned count) {
            const std::uint64_t mask = count >= 64 ? ~std::uint64_t{0} : (std::uint64_t{1} << count) - 1;
            return value ^ (shift >= 64 ? 0 : (toggle >> shift) & mask);
        };
        add_bits(frame, field(pre_data, bits + post_data_bits, pre_data_bits), pre_data_bits, position);
        push(frame, pre);
        add_bits(frame, field(code, post_data_bits, bits), bits, position);
        push(frame, post);
        add_bits(frame, field(post_data, 0, post_data_bits), post_data_bits, position);
    }
    push(frame, ptrail);
    if (!repeat_code && !(repeated && (flags & kNoFootRep) != 0)) push(frame, foot);
    return frame;
}

InfraredSignal LircRemote::signal(const LircButton& button, bool toggled) const {
    InfraredSignal signal;
    signal.carrier_hz = frequency;
    signal.duty_percent = duty_cycle;
    std::vector<std::int32_t> first = frame(button, false, toggled);
    std::vector<std::int32_t> again = frame(button, true, toggled);
    add_gap(first, true);
    add_gap(again, true);
    if (again == first && min_repeat == 0) {
        // Every frame alike: the button sends its frame once per pass.
        signal.repeat = std::move(first);
        return signal;
    }
    signal.intro = std::move(first);
    for (std::uint32_t k = 1; k < min_repeat; ++k) signal.intro.insert(signal.intro.end(), again.begin(), again.end());
    signal.repeat = std::move(again);
    return signal;
}

}  // namespace handheld
