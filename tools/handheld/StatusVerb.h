#pragma once
// `handheld status`: what the handheld is and holds, at a glance.

#include <cstdint>
#include <optional>

#include "Verb.h"

namespace handheld {

class StatusVerb : public Verb {
public:
    StatusVerb() : Verb("status", "show the handheld's profile, clock, registry and files") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
    // Regular files below fs/, folders not counted; nothing when fs/ cannot be read.
    static std::optional<std::int64_t> count_files();
};

}  // namespace handheld
