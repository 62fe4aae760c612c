// How long one reschedule takes as the alarm store grows: every call locks the store,
// opens every alarm file and rewrites the notification database, on the user-interface
// thread of the calling program.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "FreshHandheld.h"
#include "alarms/CAlarmDB.h"
#include "alarms/CAlarmScheduler.h"
#include "ce/Files.h"

namespace {

std::filesystem::path make_installed_device(int alarms) {
    const std::filesystem::path root = bench::select_fresh_handheld("bench");
    if (root.empty()) return {};
    setenv("KIVO_PROGRAM_PATH", "\\Program Files\\KIVO\\KIVO.exe", 1);
    for (const char16_t* folder : {u"\\Program Files", u"\\Program Files\\KIVO", u"\\Program Files\\KIVO\\Alarms",
                                   u"\\Windows"})
        ce::CreateDirectoryW(folder);
    for (const char16_t* program : {u"\\Program Files\\KIVO\\Alert.exe", u"\\Windows\\kivowake.exe"})
        ce::CloseHandle(ce::CreateFileW(program, ce::GENERIC_WRITE, 0, ce::CREATE_ALWAYS));
    for (int n = 0; n < alarms; ++n) {
        CAlarmDB alarm;
        const std::string name = "\\Program Files\\KIVO\\Alarms\\" + std::to_string(n) + ".kivo";
        alarm.Create(std::u16string(name.begin(), name.end()));
        alarm.SetDescription(u"Alarm");
        alarm.SetAlarmTime(n % 24, (n * 7) % 60);
        alarm.SetDays(static_cast<std::uint8_t>(1 + n % 0x7F));
        alarm.SetActive(n % 3 == 0 ? 0 : 1);
    }
    return root;
}

void BM_Reschedule(benchmark::State& state) {
    const auto root = make_installed_device(static_cast<int>(state.range(0)));
    for (auto _ : state) benchmark::DoNotOptimize(CAlarmScheduler::Reschedule());
    bench::remove_handheld(root);
}
BENCHMARK(BM_Reschedule)->Arg(1)->Arg(10)->Arg(50)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
