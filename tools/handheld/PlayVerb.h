#pragma once
// `handheld play`: plays a WAV file on the handheld through the same player the
// reminder uses, repeating it on each end report with a pause in between.

#include <chrono>
#include <cstdint>
#include <optional>
#include <string>

#include "Verb.h"
#include "ce/Messages.h"

class CSoundWave;

namespace handheld {

class PlayVerb : public Verb {
public:
    PlayVerb() : Verb("play", "play a WAV file on the handheld's wave output") {}
    ExitCode run(Console& console) override;

    // The words of the player's result codes 1000-1006.
    static std::string result_text(ce::DWORD code);

private:
    void declare(CLI::App& command) override;
    // Waits for the end report; false when interrupted (Ctrl-C), after stopping the player.
    static bool wait_for_end(CSoundWave& player, ce::HWND owner);
    // False when interrupted during the pause.
    static bool pause(ce::HWND owner, std::chrono::milliseconds length);

    std::string file_;
    std::uint32_t times_ = 1;
    std::chrono::milliseconds pause_{0};
    std::optional<std::uint32_t> volume_;
};

}  // namespace handheld
