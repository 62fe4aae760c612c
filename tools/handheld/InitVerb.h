#pragma once
// `handheld init`: makes a handheld ready to install KIVO on, keeping whatever an
// earlier init or a program already stored; the handheld's own programs are refreshed.

#include <optional>
#include <string>

#include "Verb.h"

namespace handheld {

class InitVerb : public Verb {
public:
    InitVerb() : Verb("init", "create the handheld, or check an existing one") {}
    bool creates_device() const override { return true; }
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
    ExitCode store_profile(const std::optional<std::string>& requested, Console& console);
    ExitCode create_folders(Console& console);
    // The handheld's own programs (its help viewer), from the build.
    ExitCode place_platform_programs(Console& console);

    std::optional<std::string> profile_;
};

}  // namespace handheld
