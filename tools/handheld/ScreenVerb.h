#pragma once
// `handheld screen [WIDTH HEIGHT DPI]`: shows or sets the handheld's screen; running
// programs lay their windows out on a new one.

#include <cstdint>
#include <optional>

#include "Verb.h"

namespace handheld {

class ScreenVerb : public Verb {
public:
    ScreenVerb() : Verb("screen", "show or set the screen's size and dots per inch") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;

    std::optional<std::uint32_t> width_;
    std::optional<std::uint32_t> height_;
    std::optional<std::uint32_t> dpi_;
};

}  // namespace handheld
