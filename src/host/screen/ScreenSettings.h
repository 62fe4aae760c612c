#pragma once
// The handheld's screen as device settings: width and height as it is turned now, dots
// per inch, and the input panel's flags. Absent settings give the common handheld: a
// 240 x 320 screen at 96 dpi with the input panel docked and hidden.

#include <string>

#include "host/Database.h"

namespace host {

struct ScreenSettings {
    static constexpr const char* kWidth = "screen.width";
    static constexpr const char* kHeight = "screen.height";
    static constexpr const char* kDpi = "screen.dpi";
    static constexpr const char* kInputPanel = "screen.sip_flags";
    static constexpr int kLargest = 4096;

    int width = 240;
    int height = 320;
    int dpi = 96;
    unsigned input_panel = 2;  // docked, not shown

    static ScreenSettings read(Database& database);
    bool write(Database& database) const;
    // A size or dpi outside 1..kLargest is refused by write, so every reader gets a usable screen.
    bool valid() const;
    std::string describe() const;
};

}  // namespace host
