#pragma once
// `handheld tap X Y`: touches the foreground window's screen with the stylus at (X, Y)
// and lifts it, as a person would.

#include <chrono>
#include <cstdint>
#include <string>

#include "Verb.h"

namespace handheld {

class TapVerb : public Verb {
public:
    TapVerb() : Verb("tap", "tap the screen of the foreground window with the stylus") {}
    ExitCode run(Console& console) override;

    // The stylus on the foreground window at (x, y) for `duration`.
    static ExitCode press(const std::string& x, const std::string& y, std::chrono::milliseconds duration,
                          Console& console);

private:
    void declare(CLI::App& command) override;

    std::uint32_t x_ = 0;
    std::uint32_t y_ = 0;
};

}  // namespace handheld
