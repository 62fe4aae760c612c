#pragma once
// `handheld autostart on|off|status`: whether the handheld's notification service starts
// with the person's session (or at boot, with lingering), so that an alarm rings after
// the computer restarts without anyone starting KIVO first.

#include <filesystem>
#include <string>

#include "ServiceUnit.h"
#include "Verb.h"

namespace handheld {

class AutostartVerb : public Verb {
public:
    AutostartVerb() : Verb("autostart", "start the notification service with this computer's session") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
    ExitCode turn_on(const ServiceUnit& unit, Console& console);
    ExitCode turn_off(const ServiceUnit& unit, Console& console);
    ExitCode show(const ServiceUnit& unit, Console& console);
    bool use_systemd() const;
    // Each removal is reported; false, with the message, when a file stays.
    static bool remove_file(const std::filesystem::path& file, Console& console);
    static bool remove_former_unit(const ServiceUnit& unit, Console& console);

    CLI::App* on_ = nullptr;
    CLI::App* off_ = nullptr;
    std::string via_ = "auto";
};

}  // namespace handheld
