#pragma once
// `handheld status`: what the handheld is and holds, at a glance.

#include <cstdint>
#include <optional>

#include "Verb.h"

namespace handheld {

class StatusVerb : public Verb {
public:
    std::string_view name() const override { return "status"; }
    std::string_view summary() const override { return "show the handheld's profile, clock, registry and files"; }
    std::string_view help() const override;
    ExitCode run(const std::vector<std::string>& arguments, Console& console) override;

private:
    // Regular files below fs/, folders not counted; nothing when fs/ cannot be read.
    static std::optional<std::int64_t> count_files();
};

}  // namespace handheld
