#pragma once
// The main program's document. It holds nothing and is never saved: the alarms live in
// the alarm store, which the list view reads directly.

class CTessaAlarmDoc {
public:
    // The title the frame carries; setup and Alert find the main window by it.
    static constexpr const char16_t* kTitle = u"KIVO";
};
