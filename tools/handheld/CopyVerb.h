#pragma once
// `handheld cp`: copies a file from the host onto the handheld or from the handheld to
// the host, as a person puts sounds on a device. The device side is the argument that
// begins with a backslash.

#include <string>

#include "Verb.h"

namespace handheld {

class CopyVerb : public Verb {
public:
    CopyVerb() : Verb("cp", "copy a file onto the handheld or off it") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
    ExitCode onto_device(const std::string& host, const std::u16string& device, Console& console) const;
    ExitCode off_device(const std::u16string& device, const std::string& host, Console& console) const;

    std::string source_;
    std::string target_;
};

}  // namespace handheld
