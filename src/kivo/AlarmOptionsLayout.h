#pragma once
// The alarm form's templates for portrait, landscape and square screens. A 240-pixel
// wide screen is 160 dialog units across, a 320-pixel one 213; every template lists the
// same controls, so a turn of the screen only moves them.

class AlarmOptionsLayout {
public:
    // Adds the three templates to the program's (once).
    static void Register();
};
