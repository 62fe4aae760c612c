// The simulated SoC: raw register-access throughput; how much faster than real time a
// 1-second signal (500 marks of 1 ms at a 38 kHz carrier, with 1 ms spaces) is emitted
// on each family by loops of plain register reads; and a 20-second register wait. Counters:
// "virtual_s_per_host_s" (the speed-up over real time) and "host_ms_per_virtual_s".

#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <string>

#include "FreshHandheld.h"
#include "ce/Infrared.h"
#include "ce/Memory.h"
#include "host/hw/Machine.h"

namespace {

class Handheld {
public:
    explicit Handheld(const std::string& profile) : root_(bench::select_fresh_handheld("bench", profile)) {}
    ~Handheld() {
        for (void* page : pages_) ce::VirtualFree(page, 0, ce::MEM_RELEASE);
        bench::remove_handheld(root_);
    }
    ce::RegisterPage map(std::uint32_t physical) {
        void* page = ce::VirtualAlloc(nullptr, 4096, ce::MEM_RESERVE, ce::PAGE_NOACCESS);
        ce::VirtualCopy(page, reinterpret_cast<void*>(std::uintptr_t{physical} >> 8), 4096, 0x604);
        pages_.push_back(page);
        return ce::RegisterPage(page);
    }
    double virtual_seconds() const { return static_cast<double>(host::hw::Machine::current().soc().clock().now()) / 1e9; }

private:
    std::filesystem::path root_;
    std::vector<void*> pages_;
};

constexpr int kMarks = 500;

void wait_up(const ce::RegisterPage& page, ce::DWORD offset, std::uint32_t target) {
    while (static_cast<std::int32_t>(page.read32(offset) - target) < 0) {
    }
}

void report(benchmark::State& state, double virtual_s, double host_s) {
    state.counters["virtual_s_per_host_s"] = virtual_s / host_s;
    state.counters["host_ms_per_virtual_s"] = host_s * 1000 / virtual_s;
}

template <class Send>
void run_send(benchmark::State& state, Handheld& handheld, Send send) {
    double virtual_s = 0, host_s = 0;
    for (auto _ : state) {
        const double v0 = handheld.virtual_seconds();
        const auto h0 = std::chrono::steady_clock::now();
        ce::BeginInfraredTrace();
        send();
        ce::EndInfraredTrace();
        host_s += std::chrono::duration<double>(std::chrono::steady_clock::now() - h0).count();
        virtual_s += handheld.virtual_seconds() - v0;
    }
    report(state, virtual_s, host_s);
}

void BM_RegisterRead(benchmark::State& state) {
    Handheld handheld("pxa270");
    const auto gpio = handheld.map(0x40E00000);
    for (auto _ : state) benchmark::DoNotOptimize(gpio.read32(0x10));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RegisterRead);

// PXA250, PXA270, SA-11x0: the OS-timer engine.
void BM_SendOsTimer(benchmark::State& state, const char* profile, std::uint32_t timer_page, std::uint32_t pin_page,
                    double ticks_per_us) {
    Handheld handheld(profile);
    const auto timer = handheld.map(timer_page), pins = handheld.map(pin_page);
    const bool sa = std::string(profile) == "sa1110";
    const std::uint32_t period = static_cast<std::uint32_t>(26 * ticks_per_us + 0.6), high = period - period / 2;
    if (sa) pins.write32(0, 0x4000);
    else pins.write32(0x5C, pins.read32(0x5C) & 0x3FFFFFFF);
    run_send(state, handheld, [&] {
        for (int mark = 0; mark < kMarks; ++mark) {
            std::uint32_t t = timer.read32(0x10);
            for (int i = 0; i < 1000 / 26; ++i) {
                sa ? pins.write32(4, 0x4000) : pins.write32(0x1C, 0x8000);
                wait_up(timer, 0x10, t += high);
                sa ? pins.write32(4, 0) : pins.write32(0x28, 0x8000);
                wait_up(timer, 0x10, t += period / 2);
            }
            wait_up(timer, 0x10, timer.read32(0x10) + static_cast<std::uint32_t>(1000 * ticks_per_us));
        }
    });
}
BENCHMARK_CAPTURE(BM_SendOsTimer, pxa250, "pxa250", 0x40A00000, 0x40E00000, 3.6864)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SendOsTimer, pxa270, "pxa270", 0x40A00000, 0x40E00000, 3.25)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(BM_SendOsTimer, sa1110, "sa1110", 0x90000000, 0x90060000, 3.6864)->Unit(benchmark::kMillisecond);

void BM_SendS3c(benchmark::State& state) {
    Handheld handheld("s3c2440");
    const auto timers = handheld.map(0x51000000), gpio = handheld.map(0x56000000);
    timers.write32(8, (timers.read32(8) & ~0x1000u) | 0xA000);
    timers.write32(0x24, 65535);
    timers.write32(8, timers.read32(8) | 0x1000);
    timers.write32(8, timers.read32(8) & ~0x2000u);
    timers.write32(4, timers.read32(4) & ~0xF00u);
    gpio.write32(0x70, (gpio.read32(0x70) & ~0x300u) | 0x100);
    auto count = [&] { return timers.read32(0x2C) & 0xFFFF; };
    auto passes = [&](std::uint32_t x) {
        if (x >= count())
            while (count() < x) {
            }
        while (count() > x) {
        }
    };
    run_send(state, handheld, [&] {
        for (int mark = 0; mark < kMarks; ++mark) {
            std::uint32_t t = count();
            for (int i = 0; i < 1000 / 26; ++i) {
                const std::uint32_t target = (t - 13) & 0xFFFF;
                gpio.write32(0x74, gpio.read32(0x74) | 0x10);
                passes(target);
                gpio.write32(0x74, gpio.read32(0x74) & ~0x10u);
                t = (target - 13) & 0xFFFF;
                passes(t);
            }
            passes((count() - 1000) & 0xFFFF);
        }
    });
}
BENCHMARK(BM_SendS3c)->Unit(benchmark::kMillisecond);

void BM_SendOmap1510(benchmark::State& state) {
    Handheld handheld("omap1510");
    const auto uart = handheld.map(0xFFFB9000), timers = handheld.map(0xFFFEC000);
    auto reg = [&](ce::DWORD offset, ce::BYTE value) { uart.write8(0x800 + offset, value); };
    reg(0x20, 0x07);
    reg(0x0C, 0xBF);
    reg(0x04, 0);
    reg(0x00, 39);
    reg(0x0C, 0x03);
    reg(0x4C, 0);
    reg(0x20, 0x80);
    auto one_shot = [&](std::uint32_t ticks) {
        timers.write32(0x600, 0x64);
        timers.write32(0x604, ticks);
        timers.write32(0x600, 0x65);
    };
    run_send(state, handheld, [&] {
        for (int mark = 0; mark < kMarks; ++mark) {
            one_shot(3038);
            reg(0x0C, 0x03);
            reg(0x00, 0x55);
            while ((timers.read32(0x600) & 1) != 0)
                if ((uart.read8(0x814) & 0x40) != 0) reg(0x00, 0x55);
            reg(0x0C, 0x43);
            one_shot(3038);
            while ((timers.read32(0x600) & 1) != 0) {
            }
        }
    });
}
BENCHMARK(BM_SendOmap1510)->Unit(benchmark::kMillisecond);

void BM_SendOmap850(benchmark::State& state) {
    Handheld handheld("omap850");
    const auto timers = handheld.map(0xFFFEC000), gpio = handheld.map(0xFFFBC000), conf = handheld.map(0xFFFE1000);
    conf.write32(0x7C, (conf.read32(0x7C) & ~0x2200u) | 0xCC00);
    gpio.write32(0x808, gpio.read32(0x808) & ~0x20u);
    timers.write32(0x704, 0xFFFFFFFF);
    timers.write32(0x700, 0xFFFFFFE3);
    run_send(state, handheld, [&] {
        for (int mark = 0; mark < kMarks; ++mark) {
            std::uint32_t t = timers.read32(0x708);
            for (int i = 0; i < 1000 / 26; ++i) {
                gpio.write32(0x804, gpio.read32(0x804) | 0x20);
                t -= 84;
                while (timers.read32(0x708) > t) {
                }
                gpio.write32(0x804, gpio.read32(0x804) & ~0x20u);
                t -= 84;
                while (timers.read32(0x708) > t) {
                }
            }
            const std::uint32_t end = timers.read32(0x708) - 6480;
            while (timers.read32(0x708) > end) {
            }
        }
    });
}
BENCHMARK(BM_SendOmap850)->Unit(benchmark::kMillisecond);

// Twenty seconds of waiting for a receive line that never moves, with the deadline on the
// family's counter: the shape of a learning time-out, as one register wait.
void BM_IdleLineTimeout(benchmark::State& state, const char* profile, std::uint32_t timer_page, ce::DWORD counter,
                        std::uint32_t line_page, ce::DWORD line, double ticks_per_us, bool counts_down) {
    Handheld handheld(profile);
    const auto timer = handheld.map(timer_page), pins = handheld.map(line_page);
    if (counts_down) {  // an OMAP MPU timer, free-running from 0xFFFFFFFF
        timer.write32(counter - 8, 0xFFFFFF00);
        timer.write32(counter - 4, 0xFFFFFFFF);
        timer.write32(counter - 8, 0xFFFFFFE3);
    }
    const auto ticks = static_cast<ce::ULONG>(20e6 * ticks_per_us);
    double virtual_s = 0, host_s = 0;
    for (auto _ : state) {
        const double v0 = handheld.virtual_seconds();
        const auto h0 = std::chrono::steady_clock::now();
        const ce::ULONG now = timer.read32(counter);
        const ce::RegisterCondition waits[] = {
            pins.Condition(line, ce::RegisterCondition::MaskDiffers, 0x40, pins.read32(line) & 0x40),
            timer.Condition(counter, counts_down ? ce::RegisterCondition::DownCountReaches : ce::RegisterCondition::UpCountReaches,
                            0xFFFFFFFF, counts_down ? now - ticks : now + ticks)};
        ce::ULONG value = 0;
        benchmark::DoNotOptimize(ce::WaitForRegisters(waits, 2, &value));
        host_s += std::chrono::duration<double>(std::chrono::steady_clock::now() - h0).count();
        virtual_s += handheld.virtual_seconds() - v0;
    }
    report(state, virtual_s, host_s);
}
BENCHMARK_CAPTURE(BM_IdleLineTimeout, pxa250, "pxa250", 0x40A00000, 0x10, 0x40E00000, 0x04, 3.6864, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_IdleLineTimeout, sa1110, "sa1110", 0x90000000, 0x10, 0x90060000, 0x04, 3.6864, false)
    ->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(BM_IdleLineTimeout, omap850, "omap850", 0xFFFEC000, 0x708, 0xFFFBC000, 0x800, 6.48, true)
    ->Unit(benchmark::kMicrosecond);

}  // namespace
