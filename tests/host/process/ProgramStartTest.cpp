// Starting programs of the handheld by device path: what the started program sees, why
// a start fails, and waiting for, asking about and ending a started program.

#include <gtest/gtest.h>

#include <stdlib.h>

#include <fstream>
#include <sstream>
#include <string>

#include "StandIn.h"
#include "TempDevice.h"
#include "ce/Files.h"
#include "ce/Process.h"
#include "ce/Shell.h"
#include "ce/Sync.h"

namespace {

using namespace ce;

constexpr DWORD kPatienceMs = 20000;

class ProgramStart : public testing_support::TempDevice {
protected:
    void SetUp() override {
        TempDevice::SetUp();
        testing_support::install_stand_in(device_root(), "\\Windows\\kivowake.exe");
    }
    void TearDown() override {
        unsetenv("STANDIN_MODE");
        TempDevice::TearDown();
    }
    std::string log_text(const std::string& name) const {
        std::ifstream file(device_root() / "log" / name);
        std::stringstream text;
        text << file.rdbuf();
        return text.str();
    }
};

TEST_F(ProgramStart, TheProgramSeesItsDevicePathCommandLineShowCommandAndHandheld) {
    PROCESS_INFORMATION started;
    ASSERT_TRUE(CreateProcessW(u"\\WINDOWS\\KivoWake.EXE", u"AppRunAtTime", nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, nullptr, &started));
    EXPECT_EQ(started.dwProcessId, started.dwThreadId);
    EXPECT_EQ(WaitForSingleObject(started.hProcess, kPatienceMs), WAIT_OBJECT_0);
    EXPECT_EQ(WaitForSingleObject(started.hThread, kPatienceMs), WAIT_OBJECT_0);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);

    SHELLEXECUTEINFO shell;
    shell.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOCLOSEPROCESS;
    shell.lpVerb = u"open";
    shell.lpFile = u"\\Windows\\kivowake.exe";
    shell.lpParameters = u"UPDATE now";
    shell.nShow = SW_HIDE;
    ASSERT_TRUE(ShellExecuteEx(&shell));
    EXPECT_GT(reinterpret_cast<std::uintptr_t>(shell.hInstApp), 32u);
    ASSERT_NE(shell.hProcess, nullptr);
    EXPECT_EQ(WaitForSingleObject(shell.hProcess, kPatienceMs), WAIT_OBJECT_0);
    CloseHandle(shell.hProcess);

    ASSERT_TRUE(CreateProcessW(u"\\Windows\\kivowake.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                               nullptr, nullptr));

    const std::string device = device_root().string();
    const auto lines = testing_support::wait_for_stand_in_lines(device_root(), 3);
    ASSERT_EQ(lines.size(), 3u);
    // The file's own spelling, whatever spelling started it.
    EXPECT_EQ(lines[0], "started program=\\Windows\\kivowake.exe command=AppRunAtTime show=1 device=" + device);
    EXPECT_EQ(lines[1], "started program=\\Windows\\kivowake.exe command=UPDATE now show=0 device=" + device);
    EXPECT_EQ(lines[2], "started program=\\Windows\\kivowake.exe command= show=1 device=" + device);
    EXPECT_NE(log_text("programs.log").find("started \"\\Windows\\kivowake.exe\" \"AppRunAtTime\" as process"),
              std::string::npos);
}

struct FailedStart {
    const char* name;
    const char16_t* program;
    DWORD error;
};

void PrintTo(const FailedStart& row, std::ostream* out) { *out << row.name; }

class ProgramStartFailure : public ProgramStart, public ::testing::WithParamInterface<FailedStart> {};

TEST_P(ProgramStartFailure, NamesItsCauseAndIsLogged) {
    // A data file where a program is looked for: no program, whatever its bytes.
    HANDLE text = CreateFileW(u"\\Windows\\notes.txt", GENERIC_WRITE, 0, CREATE_ALWAYS);
    ASSERT_NE(text, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(text, "#!/bin/sh\n", 10, &written));
    CloseHandle(text);

    PROCESS_INFORMATION started;
    EXPECT_FALSE(CreateProcessW(GetParam().program, u"SHOW", nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                                &started));
    EXPECT_EQ(GetLastError(), GetParam().error);

    SHELLEXECUTEINFO shell;
    shell.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOCLOSEPROCESS;
    shell.lpFile = GetParam().program;
    EXPECT_FALSE(ShellExecuteEx(&shell));
    EXPECT_EQ(GetLastError(), GetParam().error);
    EXPECT_LE(reinterpret_cast<std::uintptr_t>(shell.hInstApp), 32u);
    EXPECT_EQ(shell.hProcess, nullptr);

    EXPECT_NE(log_text("programs.log").find("\" \"SHOW\": error " + std::to_string(GetParam().error)),
              std::string::npos);
    EXPECT_TRUE(testing_support::stand_in_lines(device_root()).empty());
}

INSTANTIATE_TEST_SUITE_P(
    Causes, ProgramStartFailure,
    ::testing::Values(FailedStart{"MissingFile", u"\\Windows\\Alert.exe", ERROR_FILE_NOT_FOUND},
                      FailedStart{"MissingFolder", u"\\Program Files\\KIVO\\Alert.exe", ERROR_PATH_NOT_FOUND},
                      FailedStart{"Folder", u"\\Windows", ERROR_ACCESS_DENIED},
                      FailedStart{"DataFile", u"\\Windows\\notes.txt", ERROR_BAD_EXE_FORMAT},
                      FailedStart{"PathLeavingTheDevice", u"\\Windows\\..\\..\\bin\\sh", ERROR_INVALID_NAME}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(ProgramStart, ABareNameIsLookedForInTheWindowsFolderThenInTheRoot) {
    // The shell starts platform programs by name alone ("peghelp.exe").
    testing_support::install_stand_in(device_root(), "\\viewer.exe");
    testing_support::install_stand_in(device_root(), "\\Windows\\viewer.exe");
    ASSERT_TRUE(CreateProcessW(u"KIVOWAKE.exe", u"one", nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, nullptr));
    ASSERT_EQ(testing_support::wait_for_stand_in_lines(device_root(), 1).size(), 1u);
    SHELLEXECUTEINFO shell;
    shell.fMask = SEE_MASK_FLAG_NO_UI;
    shell.lpFile = u"viewer.exe";
    shell.lpParameters = u"two";
    ASSERT_TRUE(ShellExecuteEx(&shell));
    ASSERT_EQ(testing_support::wait_for_stand_in_lines(device_root(), 2).size(), 2u);
    ASSERT_TRUE(DeleteFileW(u"\\Windows\\viewer.exe"));
    ASSERT_TRUE(CreateProcessW(u"viewer.exe", u"three", nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, nullptr));

    const auto lines = testing_support::wait_for_stand_in_lines(device_root(), 3);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0].substr(0, lines[0].find(" show=")), "started program=\\Windows\\kivowake.exe command=one");
    EXPECT_EQ(lines[1].substr(0, lines[1].find(" show=")), "started program=\\Windows\\viewer.exe command=two");
    EXPECT_EQ(lines[2].substr(0, lines[2].find(" show=")), "started program=\\viewer.exe command=three");

    EXPECT_FALSE(CreateProcessW(u"Alert.exe", nullptr, nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr, nullptr));
    EXPECT_EQ(GetLastError(), ERROR_FILE_NOT_FOUND);
}

TEST_F(ProgramStart, OnlyTheOpenVerbStartsAProgram) {
    SHELLEXECUTEINFO shell;
    shell.fMask = SEE_MASK_FLAG_NO_UI;
    shell.lpVerb = u"print";
    shell.lpFile = u"\\Windows\\kivowake.exe";
    EXPECT_FALSE(ShellExecuteEx(&shell));
    EXPECT_EQ(GetLastError(), ERROR_NO_ASSOCIATION);
    shell.lpVerb = u"Open";
    EXPECT_TRUE(ShellExecuteEx(&shell));
    EXPECT_EQ(testing_support::wait_for_stand_in_lines(device_root(), 1).size(), 1u);
}

TEST_F(ProgramStart, AnEndedProgramReportsItsExitCode) {
    setenv("STANDIN_MODE", "exit:7", 1);
    PROCESS_INFORMATION started;
    ASSERT_TRUE(CreateProcessW(u"\\Windows\\kivowake.exe", u"", nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                               &started));
    ASSERT_EQ(WaitForSingleObject(started.hProcess, kPatienceMs), WAIT_OBJECT_0);
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeProcess(started.hProcess, &code));
    EXPECT_EQ(code, 7u);
    EXPECT_EQ(OpenProcess(PROCESS_ALL_ACCESS, FALSE, started.dwProcessId), nullptr) << "it has ended";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_FALSE(TerminateProcess(started.hProcess, 0));
    EXPECT_EQ(GetLastError(), ERROR_ACCESS_DENIED);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

TEST_F(ProgramStart, ARunningProgramIsFoundByItsIdAndEndedThroughAnyHandle) {
    setenv("STANDIN_MODE", "wait", 1);
    PROCESS_INFORMATION started;
    ASSERT_TRUE(CreateProcessW(u"\\windows\\kivowake.exe", u"AppRunAtTime", nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, nullptr, &started));
    DWORD code = 0;
    ASSERT_TRUE(GetExitCodeProcess(started.hProcess, &code));
    EXPECT_EQ(code, STILL_ACTIVE);
    EXPECT_EQ(WaitForSingleObject(started.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT));

    // As the setup library does: from the process id alone.
    HANDLE opened = OpenProcess(PROCESS_TERMINATE, FALSE, started.dwProcessId);
    ASSERT_NE(opened, nullptr);
    char16_t program[MAX_PATH];
    DWORD size = MAX_PATH;
    ASSERT_TRUE(QueryFullProcessImageNameW(opened, 0, program, &size));
    EXPECT_EQ(std::u16string(program, size), u"\\Windows\\kivowake.exe");
    DWORD small = 4;
    EXPECT_FALSE(QueryFullProcessImageNameW(opened, 0, program, &small));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);

    ASSERT_TRUE(TerminateProcess(opened, 0));
    // Gone by the time TerminateProcess returns, with the code it was given.
    EXPECT_EQ(WaitForSingleObject(started.hProcess, 0), WAIT_OBJECT_0);
    ASSERT_TRUE(GetExitCodeProcess(started.hProcess, &code));
    EXPECT_EQ(code, 0u);
    EXPECT_FALSE(QueryFullProcessImageNameW(opened, 0, program, &size));
    CloseHandle(opened);
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
}

TEST_F(ProgramStart, HandlesThatNameNoProcessAreRefused) {
    HANDLE mutex = CreateMutexW(nullptr, FALSE, nullptr);
    DWORD code = 0;
    EXPECT_FALSE(TerminateProcess(mutex, 0));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_FALSE(GetExitCodeProcess(nullptr, &code));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_EQ(OpenProcess(PROCESS_ALL_ACCESS, FALSE, 0), nullptr);
    CloseHandle(mutex);
}

}  // namespace
