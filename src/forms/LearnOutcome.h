#pragma once
// What the learning forms tell the user after a learn, and the beep that says a signal
// was taken: the driver's result 17 (and 4) is a time-out, every other failure is a
// failed learn.

#include <string_view>

class LearnOutcome {
public:
    static constexpr std::u16string_view kTimeOut = u"Time out!";
    static constexpr std::u16string_view kFailed = u"Failed to learn IR signal!";
    static constexpr std::u16string_view kLearned = u"Learned with success!";
    // A codebase keeps a signal of up to 255 parts (a long space takes several).
    static constexpr std::u16string_view kTooLong =
        u"The signal is too long to keep. Press the button briefly and learn it again.";
    // The program's wave resource asked for; it has none of that number, so the
    // handheld's default sound is heard.
    static constexpr int kBeepResource = 529;

    static std::u16string_view FailureText(int code);
    static void Beep();
};
