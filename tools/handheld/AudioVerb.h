#pragma once
// `handheld audio`: which back-end the handheld's wave output plays through, and what
// the capture back-end recorded.

#include "Verb.h"

namespace handheld {

class AudioVerb : public Verb {
public:
    std::string_view name() const override { return "audio"; }
    std::string_view summary() const override { return "choose the audio back-end (alsa, capture, null); show captured plays"; }
    std::string_view help() const override;
    ExitCode run(const std::vector<std::string>& arguments, Console& console) override;

    // "capture", or "alsa (default)" when nothing is stored; for `handheld status` too.
    static std::string backend_text();

private:
    static ExitCode show(Console& console);
    static ExitCode print_log(Console& console);
    static ExitCode choose(const std::vector<std::string>& arguments, Console& console);
};

}  // namespace handheld
