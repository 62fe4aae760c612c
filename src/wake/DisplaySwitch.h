#pragma once
// Switches the handheld's display on through the display driver's power escape, when
// the driver supports it, so that an alarm's reminder is seen.

class DisplaySwitch {
public:
    static void SwitchOn();
};
