#pragma once
// `handheld audio`: which back-end the handheld's wave output plays through, and what
// the capture back-end recorded.

#include <optional>
#include <string>

#include "Verb.h"
#include "host/wave/AudioSettings.h"

namespace handheld {

class AudioVerb : public Verb {
public:
    AudioVerb() : Verb("audio", "choose the audio back-end (alsa, capture, null); show captured plays") {}
    ExitCode run(Console& console) override;

    // "capture", or "alsa (default)" when nothing is stored; for `handheld status` too.
    static std::string backend_text();

private:
    void declare(CLI::App& command) override;
    static ExitCode show(Console& console);
    static ExitCode print_log(Console& console);
    ExitCode choose(host::AudioBackend backend, Console& console);

    CLI::App* log_ = nullptr;
    std::optional<std::string> pcm_;
};

}  // namespace handheld
