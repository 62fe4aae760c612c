#pragma once
// `handheld alarm add HH:MM [options]`: a new alarm written as the alarm form saves one,
// with its sound, its infrared commands (a copy of a codebase of the alarms folder) and
// its replay options, then the alarm due next registered.

#include <cstdint>
#include <optional>
#include <string>

#include "Verb.h"

namespace handheld {

class AlarmAddCommand : public Verb {
public:
    AlarmAddCommand() : Verb("add", "set a new alarm") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
    // A device path as it is; a host file copied to "\My Documents" on the handheld.
    static std::optional<std::string> PlaceSound(const std::string& given, std::u16string* device_path);

    std::string time_;
    std::string days_ = "once";
    std::string description_;
    std::string sound_;
    std::uint32_t volume_ = 6;
    std::uint32_t count_ = 1;
    std::uint32_t pause_ = 0;
    std::string codebase_;
    bool beam_on_repeats_ = false;
    std::uint32_t replay_ = 5;
    bool inactive_ = false;
};

}  // namespace handheld
