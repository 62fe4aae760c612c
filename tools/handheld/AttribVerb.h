#pragma once
// `handheld attrib`: shows or changes the attributes of a file or folder of the
// handheld, as the programs see them (read-only files refuse writers, and so on).

#include <optional>
#include <string>

#include "Verb.h"
#include "ce/Types.h"

namespace handheld {

class AttribVerb : public Verb {
public:
    std::string_view name() const override { return "attrib"; }
    std::string_view summary() const override { return "show or change a file's attributes"; }
    std::string_view help() const override;
    ExitCode run(const std::vector<std::string>& arguments, Console& console) override;

private:
    struct Change {
        ce::DWORD set = 0;
        ce::DWORD clear = 0;
    };
    // Nothing for a word other than +a -a +r -r +h -h +s -s.
    static std::optional<Change> parse_change(std::string_view word);
};

}  // namespace handheld
