#pragma once
// A NEC remote's button, as the learning and infrared tests press it: the 9 ms / 4.5 ms
// header, 32 bits of 0x20DF10EF, the stop bit, then the ditto frame every 108 ms while
// held. Marks positive, spaces negative, in µs.

#include <cstdint>
#include <vector>

namespace testing_support {

inline std::vector<std::int32_t> nec_intro() {
    constexpr unsigned kCode = 0x20DF10EF;
    std::vector<std::int32_t> intro{9000, -4500};
    for (int bit = 0; bit < 32; ++bit) {
        intro.push_back(560);
        intro.push_back((kCode >> bit) & 1 ? -1690 : -560);
    }
    intro.push_back(560);
    intro.push_back(-40000);
    return intro;
}

inline const std::vector<std::int32_t> kNecRepeat{9000, -2250, 560, -96190};

}  // namespace testing_support
