#include "SetupLibrary.h"

#include <dlfcn.h>
#include <stdlib.h>

#include "host/Device.h"

namespace handheld {

namespace {

template <class Function>
Function entry(void* library, const char* name) {
    return reinterpret_cast<Function>(dlsym(library, name));
}

}  // namespace

SetupLibrary::SetupLibrary(const std::filesystem::path& file) {
    std::error_code ignored;
    setenv("KIVO_DEVICE", std::filesystem::absolute(host::Device::current().root(), ignored).c_str(), 1);
    // Never unmapped: the library's own singletons stay valid (and its file may go) until exit.
    library_ = dlopen(file.c_str(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
    if (library_ == nullptr) {
        const char* reason = dlerror();
        error_ = reason != nullptr ? reason : "cannot be loaded";
        return;
    }
    install_init_ = entry<ce::InstallInitFunction>(library_, ce::INSTALL_INIT_NAME);
    install_exit_ = entry<ce::InstallExitFunction>(library_, ce::INSTALL_EXIT_NAME);
    uninstall_init_ = entry<ce::UninstallInitFunction>(library_, ce::UNINSTALL_INIT_NAME);
    uninstall_exit_ = entry<ce::UninstallExitFunction>(library_, ce::UNINSTALL_EXIT_NAME);
    if (install_init_ == nullptr || install_exit_ == nullptr || uninstall_init_ == nullptr ||
        uninstall_exit_ == nullptr) {
        error_ = file.string() + " does not export Install_Init, Install_Exit, Uninstall_Init and Uninstall_Exit";
        dlclose(library_);
        library_ = nullptr;
    }
}

SetupLibrary::~SetupLibrary() {
    if (library_ != nullptr) dlclose(library_);
}

ce::codeINSTALL_INIT SetupLibrary::install_init(bool previously_installed, std::u16string_view folder) const {
    const std::u16string text(folder);
    return install_init_(nullptr, ce::TRUE, previously_installed ? ce::TRUE : ce::FALSE, text.c_str());
}

ce::codeINSTALL_EXIT SetupLibrary::install_exit(std::u16string_view folder, ce::WORD failed_folders,
                                                ce::WORD failed_files) const {
    const std::u16string text(folder);
    return install_exit_(nullptr, text.c_str(), failed_folders, failed_files, 0, 0, 0);
}

ce::codeUNINSTALL_INIT SetupLibrary::uninstall_init(std::u16string_view folder) const {
    const std::u16string text(folder);
    return uninstall_init_(nullptr, text.c_str());
}

ce::codeUNINSTALL_EXIT SetupLibrary::uninstall_exit() const { return uninstall_exit_(nullptr); }

}  // namespace handheld
