#pragma once
// `handheld attrib`: shows or changes the attributes of a file or folder of the
// handheld, as the programs see them (read-only files refuse writers, and so on).

#include <string>
#include <vector>

#include "Verb.h"
#include "ce/Types.h"

namespace handheld {

class AttribVerb : public Verb {
public:
    AttribVerb() : Verb("attrib", "show or change a file's attributes") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
    struct Change {
        ce::DWORD set = 0;
        ce::DWORD clear = 0;
    };
    struct Clear {
        const CLI::Option* flag;
        ce::DWORD bit;
    };
    // What the +X words and -X flags add up to, in the order given.
    Change changes() const;

    std::string path_;
    std::vector<std::string> set_words_;
    const CLI::Option* sets_ = nullptr;
    std::vector<Clear> clears_;
};

}  // namespace handheld
