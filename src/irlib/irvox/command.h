#pragma once
// One entry of a command list: a reference to a signal or macro, a pause, or an action.
// Its texts are private copies, so a command outlives the record it was read from.

#include <cstdint>

#include "irlib/meta/value.h"

namespace irvox {

class command {
public:
    static constexpr std::int32_t kReference = 1;
    static constexpr std::int32_t kAction = 2;
    static constexpr std::int32_t kDelay = 3;
    static constexpr std::int32_t kNotGiven = -1;
    // The repeat of a reference sent for a time (its duration) rather than a count.
    static constexpr std::int32_t kByDuration = -2;

    // A private copy of NUL-terminated `text`; empty (not set) for null.
    static meta::value owned_text(const char* text);
    // The text of a set value, else "".
    static const char* text_of(const meta::value& v);
    static bool is_set(const meta::value& v) { return v.text() != nullptr; }

    std::int32_t kind = 0;
    meta::value id;       // signal name, "$" + macro name, or action identifier
    meta::value base;     // the codebase of the signal or macro; not set: the macro's own
    meta::value comment;  // free text shown for the entry
    std::int32_t repeat = kNotGiven;
    std::int32_t duration = kNotGiven;  // ms: sending time (repeat kByDuration) or pause

    bool operator==(const command& other) const;
};

}  // namespace irvox
