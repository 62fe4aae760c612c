#pragma once
// The handheld's installer for KIVO: copies the built programs into the device image
// and calls KIVOSETUP around it, as the device's installer calls a package's setup
// library; removes them again with KIVOSETUP called before and after the deletion.
//
// The image it makes:
//   \Program Files\KIVO\KIVO.exe, \Program Files\KIVO\Alert.exe   the two programs
//   \Windows\kivowake.exe                                          the wake program
//   \Windows\AppMgr\KIVOSETUP.dll                                  the setup library, kept for removal

#include <filesystem>
#include <optional>
#include <string_view>

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
    // and KIVOSETUP. A program missing from it is reported and left out.
    ExitCode install(const std::filesystem::path& package);
    ExitCode uninstall();

private:
    // Copies a host file to a device path as an executable, making its folders.
    bool put(const std::filesystem::path& from, std::u16string_view to);
    bool remove_programs();
    static std::optional<std::filesystem::path> host_place(std::u16string_view device_path);
    static bool exists(std::u16string_view device_path);

    Console& console_;
};

}  // namespace handheld
