#pragma once
// `handheld init`: makes a handheld ready to install KIVO on, keeping whatever an
// earlier init or a program already stored.

#include <optional>
#include <string>

#include "Verb.h"

namespace handheld {

class InitVerb : public Verb {
public:
    std::string_view name() const override { return "init"; }
    std::string_view summary() const override { return "create the handheld, or check an existing one"; }
    std::string_view help() const override;
    bool creates_device() const override { return true; }
    ExitCode run(const std::vector<std::string>& arguments, Console& console) override;

private:
    ExitCode store_profile(const std::optional<std::string>& requested, Console& console);
    ExitCode create_folders(Console& console);
};

}  // namespace handheld
