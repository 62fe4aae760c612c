#pragma once
// An application's setup library as the handheld's installer uses it: loaded with
// dlopen, its four entry points found by name. The library carries its own copy of the
// handheld's platform implementation, which finds the handheld through $KIVO_DEVICE,
// so loading sets that to the handheld the tool works on.

#include <filesystem>
#include <string>
#include <string_view>

#include "ce/Setup.h"

namespace handheld {

class SetupLibrary {
public:
    explicit SetupLibrary(const std::filesystem::path& file);
    ~SetupLibrary();
    SetupLibrary(const SetupLibrary&) = delete;
    SetupLibrary& operator=(const SetupLibrary&) = delete;

    // False, with error() saying why, when the file is no setup library.
    bool loaded() const { return library_ != nullptr; }
    const std::string& error() const { return error_; }

    ce::codeINSTALL_INIT install_init(bool previously_installed, std::u16string_view folder) const;
    ce::codeINSTALL_EXIT install_exit(std::u16string_view folder, ce::WORD failed_folders,
                                      ce::WORD failed_files) const;
    ce::codeUNINSTALL_INIT uninstall_init(std::u16string_view folder) const;
    ce::codeUNINSTALL_EXIT uninstall_exit() const;

private:
    void* library_ = nullptr;
    std::string error_;
    ce::InstallInitFunction install_init_ = nullptr;
    ce::InstallExitFunction install_exit_ = nullptr;
    ce::UninstallInitFunction uninstall_init_ = nullptr;
    ce::UninstallExitFunction uninstall_exit_ = nullptr;
};

}  // namespace handheld
