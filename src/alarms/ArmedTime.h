#pragma once
// One armed alarm per time of day: the scheduler registers only the first alarm of a
// time, so a second armed one of the same time would never ring. KIVO's list refuses
// such a pair when a check box is tapped; what writes alarms from outside the list
// refuses it too, with the same words.

#include <optional>
#include <string>

class ArmedTime {
public:
    static constexpr const char16_t* kRefusal = u"You cannot make active two alarms with the same alarm time!";

    // The file name of an armed alarm of the alarms folder `folder` at hour:minute, if
    // there is one. The caller holds the store lock.
    static std::optional<std::u16string> Holder(const std::u16string& folder, int hour, int minute);
};
