#pragma once
// The handheld's installer for KIVO: copies the built programs into the device image
// and calls KIVOSETUP around it, as the device's installer calls a package's setup
// library; removes them again with KIVOSETUP called before and after the deletion.
//
// The image it makes:
//   \Program Files\KIVO\KIVO.exe, \Program Files\KIVO\Alert.exe   the two programs
//   \Windows\kivowake.exe                                          the wake program
//   \Windows\KIVO.htm                                              the help page
//   \Windows\AppMgr\KIVOSETUP.dll                                  the setup library, kept for removal

#include <filesystem>

#include "Console.h"
#include "ExitCode.h"

namespace handheld {

class SetupLibrary;

class Installer {
public:
    static constexpr const char16_t* kFolder = u"\\Program Files\\KIVO";
    static constexpr const char16_t* kSetupCopy = u"\\Windows\\AppMgr\\KIVOSETUP.dll";
    // The setup library's file among the built programs.
    static constexpr const char* kSetupFile = "KIVOSETUP.so";

    explicit Installer(Console& console) : console_(console) {}

    // Installs from a folder holding the built programs ("KIVO", "Alert", "kivowake")
    // and KIVOSETUP, and the help page `help_page`. A file missing is reported and left out.
    ExitCode install(const std::filesystem::path& package, const std::filesystem::path& help_page);
    ExitCode uninstall();

private:
    bool remove_programs();

    Console& console_;
};

}  // namespace handheld
