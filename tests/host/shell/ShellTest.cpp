// Where the shell says things are: the Windows folder and the program's own path.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <string>

#include "TempDevice.h"
#include "ce/Files.h"
#include "ce/Shell.h"
#include "host/shell/ProgramPath.h"

namespace {

using namespace ce;

class Shell : public testing_support::TempDevice {
protected:
    void TearDown() override {
        unsetenv(host::ProgramPath::kVariable);
        TempDevice::TearDown();
    }
    static std::u16string module_path() {
        char16_t path[MAX_PATH];
        const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
        return std::u16string(path, length);
    }
};

TEST_F(Shell, TheWindowsFolderIsMadeOnlyWhenAsked) {
    char16_t path[MAX_PATH];
    ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_WINDOWS, FALSE));
    EXPECT_EQ(std::u16string(path), u"\\Windows");
    EXPECT_EQ(GetFileAttributesW(u"\\Windows"), INVALID_FILE_ATTRIBUTES);
    ASSERT_TRUE(SHGetSpecialFolderPath(nullptr, path, CSIDL_WINDOWS, TRUE));
    EXPECT_NE(GetFileAttributesW(u"\\Windows") & FILE_ATTRIBUTE_DIRECTORY, 0u);
    EXPECT_FALSE(SHGetSpecialFolderPath(nullptr, path, 0x0005, FALSE));
}

TEST_F(Shell, TheProgramPathComesFromWhoeverStartedIt) {
    setenv(host::ProgramPath::kVariable, "\\Program Files\\KIVO\\Alert.exe", 1);
    EXPECT_EQ(module_path(), u"\\Program Files\\KIVO\\Alert.exe");
    // Not a device path: the install place of this executable instead.
    setenv(host::ProgramPath::kVariable, "/usr/bin/Alert", 1);
    EXPECT_EQ(module_path(), u"\\Program Files\\KIVO\\kivo_host_shell_tests.exe");
}

TEST_F(Shell, ProgramsStartedByHandRunFromTheirInstallPlace) {
    EXPECT_EQ(host::ProgramPath::install_place("KIVO"), u"\\Program Files\\KIVO\\KIVO.exe");
    EXPECT_EQ(host::ProgramPath::install_place("Alert"), u"\\Program Files\\KIVO\\Alert.exe");
    EXPECT_EQ(host::ProgramPath::install_place("kivowake"), u"\\Windows\\kivowake.exe");
    EXPECT_EQ(host::ProgramPath::install_place("Alert.exe"), u"\\Program Files\\KIVO\\Alert.exe");
}

TEST_F(Shell, AProgramPathLongerThanTheBufferIsCutAndSaysSo) {
    setenv(host::ProgramPath::kVariable, "\\Program Files\\KIVO\\KIVO.exe", 1);
    char16_t path[8];
    EXPECT_EQ(GetModuleFileNameW(nullptr, path, 8), 8u);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_EQ(std::u16string(path), u"\\Progra");
    EXPECT_EQ(GetModuleFileNameW(reinterpret_cast<HMODULE>(1), path, 8), 0u);
}

}  // namespace
