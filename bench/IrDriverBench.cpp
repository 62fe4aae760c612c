// The infrared driver end to end: a 1-second signal (150 marks of 3.3 ms at a 26 µs
// carrier, with 3.3 ms spaces) through GetIrDriver, SetSignal and one counted pass of
// Send, on each profile. Counters: "virtual_s_per_host_s" (how much faster than real
// time the simulated handheld sends) and "host_ms_per_virtual_s" (host time per
// simulated second). The 100 ms settling sleep before emission is left out of both.

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "FreshHandheld.h"
#include "irdriver/IrDriverInstance.h"
#include "host/hw/Machine.h"

namespace {

std::u16string port_for(const std::string& profile) {
    return profile == "sa1110" || profile == "pxa26x" || profile == "s3c2440" ? u"COM2:" : u"COM3:";
}

void BM_DriverSend(benchmark::State& state, const char* profile) {
    const std::filesystem::path root = bench::select_fresh_handheld("irbench", profile);
    if (root.empty()) {
        state.SkipWithError("no handheld folder can be made");
        return;
    }

    std::vector<std::int32_t> signal;
    for (int i = 0; i < 150; ++i) {
        signal.push_back(3333);
        signal.push_back(-3333);
    }
    double virtual_s = 0, host_s = 0;
    for (auto _ : state) {
        CIrDrvr* driver = GetIrDriver();
        driver->SetPortName(port_for(profile).c_str());
        driver->SetSignal(signal.data(), static_cast<std::uint16_t>(signal.size()), 300, 26);
        auto& clock = host::hw::Machine::current().soc().clock();
        const auto virtual_start = clock.now();
        const auto host_start = std::chrono::steady_clock::now();
        driver->Send(1, 0);
        host_s += std::chrono::duration<double>(std::chrono::steady_clock::now() - host_start).count();
        virtual_s += static_cast<double>(clock.now() - virtual_start) / 1e9 - 0.1;
        ReleaseIrDriver();
    }
    state.counters["virtual_s_per_host_s"] = virtual_s / host_s;
    state.counters["host_ms_per_virtual_s"] = host_s * 1000 / virtual_s;
    bench::remove_handheld(root);
}

}  // namespace

BENCHMARK_CAPTURE(BM_DriverSend, sa1110, "sa1110")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DriverSend, pxa250, "pxa250")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DriverSend, pxa255, "pxa255")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DriverSend, pxa26x, "pxa26x")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DriverSend, pxa270, "pxa270")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DriverSend, s3c2410, "s3c2410")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DriverSend, s3c2440, "s3c2440")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DriverSend, omap1510, "omap1510")->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_DriverSend, omap850, "omap850")->Unit(benchmark::kMillisecond);
