#pragma once
// `handheld play`: plays a WAV file on the handheld through the same player the
// reminder uses, repeating it on each end report with a pause in between.

#include <optional>

#include "Verb.h"
#include "ce/Messages.h"

class CSoundWave;

namespace handheld {

class PlayVerb : public Verb {
public:
    std::string_view name() const override { return "play"; }
    std::string_view summary() const override { return "play a WAV file on the handheld's wave output"; }
    std::string_view help() const override;
    ExitCode run(const std::vector<std::string>& arguments, Console& console) override;

    // The words of the player's result codes 1000-1006.
    static std::string result_text(ce::DWORD code);

private:
    struct Plan {
        unsigned times = 1;
        unsigned pause_seconds = 0;
        std::optional<unsigned> volume;  // 1..10
    };
    static std::optional<std::string> read_plan(const std::vector<std::string>& arguments, Plan* plan,
                                                std::string* file);
    // Waits for the end report; false when interrupted (Ctrl-C), after stopping the player.
    static bool wait_for_end(CSoundWave& player, ce::HWND owner);
    // False when interrupted during the pause.
    static bool pause(ce::HWND owner, unsigned seconds);
};

}  // namespace handheld
