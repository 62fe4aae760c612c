#pragma once
// One remote of a LIRC remote file (lircd.conf): how its frames are built and the codes
// of its buttons, and the signal a button sends when it is pressed and held.
//
// A frame is |header|plead|pre data|pre|code|post|post data|ptrail|foot|gap|; a held
// button sends its repeat code (the `repeat` pulse and space between plead and ptrail)
// or, without one, the frame again. The signal's lead-in is the first frame with the
// repeats every press sends (`min_repeat`); its frame is one repeat, so every pass the
// driver sends after the first is what the remote sends while its button stays down.

#include <cstdint>
#include <string>
#include <vector>

#include "signals/InfraredSignal.h"

namespace handheld {

struct LircPair {
    std::uint32_t pulse = 0, space = 0;
    bool set() const { return pulse != 0 || space != 0; }
};

struct LircButton {
    std::string name;
    int line = 0;
    std::vector<std::uint64_t> codes;   // a coded remote's button: its data values
    std::vector<std::uint32_t> raw;     // a raw remote's button: pulse, space, ..., pulse
    std::vector<std::string> notes;     // what reading it had to decide (a name listed twice, ...)
};

struct LircRemote {
    // The flags that change how a frame is sent.
    enum Flag : std::uint32_t {
        kShiftEnc = 1 << 0,  // RC5 and SHIFT_ENC: a bit is a pulse and a space, in an order
        kRc6 = 1 << 1,       // shift encoded, one bit of double length
        kRcmm = 1 << 2,      // two bits per pulse and space
        kSpaceEnc = 1 << 3,
        kReverse = 1 << 4,
        kNoHeadRep = 1 << 5,
        kNoFootRep = 1 << 6,
        kConstLength = 1 << 7,
        kRepeatHeader = 1 << 8,
        kRawCodes = 1 << 9,
    };

    std::string name;
    int line = 0;
    std::uint32_t flags = 0;
    unsigned bits = 0, pre_data_bits = 0, post_data_bits = 0;
    std::uint64_t pre_data = 0, post_data = 0, rc6_mask = 0;
    // The bits of pre data, code and post data (as one word) a new press inverts.
    std::uint64_t toggle_mask = 0;
    LircPair header, zero, one, two, three, pre, post, foot, repeat;
    std::uint32_t plead = 0, ptrail = 0, gap = 0, repeat_gap = 0, min_repeat = 0;
    std::uint32_t frequency = InfraredSignal::kDefaultCarrierHz, duty_cycle = 50;
    std::vector<LircButton> buttons;
    std::vector<std::string> notes;  // what reading the remote's parameters had to decide

    const LircButton* button(const std::string& name) const;
    // The protocol in a word or two, for listings.
    std::string protocol() const;
    // The signal of a button: its carrier and duty cycle, the first frame with the
    // repeats every press carries as lead-in, one repeat as the frame.
    // `toggled`: as the next press sends it, with the toggle bits inverted.
    InfraredSignal signal(const LircButton& button, bool toggled = false) const;

private:
    std::vector<std::int32_t> frame(const LircButton& button, bool repeated, bool toggled) const;
    void add_gap(std::vector<std::int32_t>& frame, bool before_repeat) const;
    void add_bits(std::vector<std::int32_t>& frame, std::uint64_t value, unsigned count, std::uint64_t& position) const;
};

}  // namespace handheld
