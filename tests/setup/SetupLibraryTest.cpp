// KIVOSETUP as the installer loads it: before removal it ends the programs that own the
// "KIVOAlert" and "KIVO" windows (and nothing else) and removes every registration of
// the wake program; the other entry points change nothing.

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <stdlib.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "StandIn.h"
#include "TempDevice.h"
#include "WakeRegistrations.h"
#include "ce/Notify.h"
#include "ce/Process.h"
#include "ce/Setup.h"
#include "ce/Sync.h"
#include "ce/Windows.h"
#include "host/Device.h"
#include "host/notify/NotificationStore.h"

namespace {

using namespace ce;

constexpr DWORD kPatienceMs = 20000;
constexpr const char16_t* kWake = testing_support::kWakeProgram;
constexpr const char16_t* kOther = u"\\Windows\\calendar.exe";

// The library as the installer holds it: loaded, its entry points found by name. It
// stays mapped after dlclose, as its own singletons must.
class LoadedSetup {
public:
    LoadedSetup() : library_(dlopen(KIVOSETUP_PATH, RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE)) {}
    ~LoadedSetup() {
        if (library_ != nullptr) dlclose(library_);
    }
    LoadedSetup(const LoadedSetup&) = delete;
    LoadedSetup& operator=(const LoadedSetup&) = delete;

    template <class Function>
    Function entry(const char* name) const {
        return library_ == nullptr ? nullptr : reinterpret_cast<Function>(dlsym(library_, name));
    }

private:
    void* library_;
};

struct Started {
    PROCESS_INFORMATION process;
    HWND window = nullptr;
};

struct Running {
    const char* name;
    bool alert;
    bool kivo;
};

void PrintTo(const Running& row, std::ostream* out) { *out << row.name; }

class SetupLibrary : public testing_support::TempDevice, public ::testing::WithParamInterface<Running> {
protected:
    void SetUp() override {
        TempDevice::SetUp();
        testing_support::install_stand_in(device_root(), "\\Program Files\\KIVO\\Alert.exe");
        testing_support::install_stand_in(device_root(), "\\Program Files\\KIVO\\KIVO.exe");
        testing_support::install_stand_in(device_root(), "\\Windows\\calendar.exe");
        testing_support::register_wake_program();
        ASSERT_TRUE(CeRunAppAtEvent(kOther, NOTIFICATION_EVENT_TIME_CHANGE));
    }
    void TearDown() override {
        for (auto& started : started_) {
            TerminateProcess(started.process.hProcess, 0);
            CloseHandle(started.process.hProcess);
            CloseHandle(started.process.hThread);
        }
        unsetenv("STANDIN_MODE");
        TempDevice::TearDown();
    }

    // Starts a stand-in with a window of that title and waits for the window.
    const Started& start(const char16_t* program, const std::string& title) {
        setenv("STANDIN_MODE", ("window:" + title).c_str(), 1);
        Started started;
        EXPECT_TRUE(CreateProcessW(program, u"", nullptr, nullptr, FALSE, 0, nullptr, nullptr, nullptr,
                                   &started.process));
        const std::u16string wanted(title.begin(), title.end());
        const auto until = std::chrono::steady_clock::now() + std::chrono::milliseconds(kPatienceMs);
        while (started.window == nullptr && std::chrono::steady_clock::now() < until) {
            started.window = FindWindowW(nullptr, wanted.c_str());
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        EXPECT_NE(started.window, nullptr) << title;
        started_.push_back(started);
        return started_.back();
    }

    static std::vector<std::u16string> registered_programs() {
        std::vector<std::u16string> programs;
        for (const auto& row : host::NotificationStore(host::Device::current().database()).list())
            programs.push_back(row.application);
        return programs;
    }

    static bool ended(const Started& started) {
        return WaitForSingleObject(started.process.hProcess, 0) == WAIT_OBJECT_0;
    }

    std::vector<Started> started_;
};

TEST_P(SetupLibrary, UninstallInitEndsTheProgramsAndRemovesEveryWakeRegistration) {
    started_.reserve(3);
    const Started& bystander = start(kOther, "KIVO Calendar");
    const Started* alert = GetParam().alert ? &start(u"\\Program Files\\KIVO\\Alert.exe", "KIVOAlert") : nullptr;
    const Started* kivo = GetParam().kivo ? &start(u"\\Program Files\\KIVO\\KIVO.exe", "KIVO") : nullptr;

    const LoadedSetup setup;
    const auto uninstall_init = setup.entry<UninstallInitFunction>(UNINSTALL_INIT_NAME);
    ASSERT_NE(uninstall_init, nullptr);
    EXPECT_EQ(uninstall_init(nullptr, u"\\Program Files\\KIVO"), codeUNINSTALL_INIT_CONTINUE);

    // Ended before the installer goes on to delete their files.
    if (alert != nullptr) {
        EXPECT_TRUE(ended(*alert));
    }
    if (kivo != nullptr) {
        EXPECT_TRUE(ended(*kivo));
    }
    EXPECT_EQ(FindWindowW(nullptr, u"KIVOAlert"), nullptr);
    EXPECT_EQ(FindWindowW(nullptr, u"KIVO"), nullptr);
    EXPECT_FALSE(ended(bystander));
    EXPECT_EQ(registered_programs(), std::vector<std::u16string>{kOther});
}

INSTANTIATE_TEST_SUITE_P(Running, SetupLibrary,
                         ::testing::Values(Running{"Neither", false, false}, Running{"AlertOnly", true, false},
                                           Running{"KivoOnly", false, true}, Running{"Both", true, true}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(SetupLibrary, TheOtherEntryPointsChangeNothing) {
    const Started& alert = start(u"\\Program Files\\KIVO\\Alert.exe", "KIVOAlert");
    const LoadedSetup setup;
    const auto install_init = setup.entry<InstallInitFunction>(INSTALL_INIT_NAME);
    const auto install_exit = setup.entry<InstallExitFunction>(INSTALL_EXIT_NAME);
    const auto uninstall_exit = setup.entry<UninstallExitFunction>(UNINSTALL_EXIT_NAME);
    ASSERT_NE(install_init, nullptr);
    ASSERT_NE(install_exit, nullptr);
    ASSERT_NE(uninstall_exit, nullptr);
    EXPECT_EQ(install_init(nullptr, TRUE, FALSE, u"\\Program Files\\KIVO"), codeINSTALL_INIT_CONTINUE);
    EXPECT_EQ(install_exit(nullptr, u"\\Program Files\\KIVO", 0, 0, 0, 0, 0), codeINSTALL_EXIT_DONE);
    EXPECT_EQ(uninstall_exit(nullptr), codeUNINSTALL_EXIT_DONE);
    EXPECT_FALSE(ended(alert));
    EXPECT_EQ(registered_programs(), (std::vector<std::u16string>{kWake, kWake, kWake, kOther}));
}

}  // namespace
