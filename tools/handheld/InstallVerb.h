#pragma once
// `handheld install [--from DIR]`: puts KIVO on the handheld as its installer would
// (Installer.h describes the image it makes). `--wake`, run as root, lets the installed
// notification service wake the computer instead, and does nothing else: it opens no
// handheld, since root trusts nothing a person wrote there; `--menu` also puts KIVO in
// the desktop's menu.

#include <filesystem>
#include <string>

#include "Verb.h"

namespace handheld {

class InstallVerb : public Verb {
public:
    InstallVerb() : Verb("install", "install KIVO's programs into the handheld's image") {}
    ExitCode run(Console& console) override;
    bool opens_device() const override { return !wake_; }

private:
    void declare(CLI::App& command) override;

    std::string package_;  // where the programs are: the tool's own unless --from says
    bool wake_ = false;
    bool menu_ = false;
};

}  // namespace handheld
