#pragma once
// `handheld install [--from DIR]`: puts KIVO on the handheld as its installer would
// (Installer.h describes the image it makes).

#include <filesystem>
#include <string>

#include "Verb.h"

namespace handheld {

class InstallVerb : public Verb {
public:
    InstallVerb() : Verb("install", "install KIVO's programs into the handheld's image") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;

    std::string package_;  // where the programs are: the tool's own unless --from says
};

}  // namespace handheld
