// How closely Learn captures what a remote plays, per processor family: a generated set
// of held button presses (NEC-, RC5-, Sony-, RECS80-, Denon- and RC-MM-like frames and
// seeded random ones, at 36, 36.7, 38, 40 and 56 kHz) is played into the simulated
// receiver, learned, and every learned mark and space compared with the played one.
// Prints one table row per profile: worst and median error in µs and in carrier periods,
// the worst error as a share of its limit (half a carrier period plus 2 % of the played
// duration; at most 1 when every one is within), the worst carrier error in % (a period
// kept in whole µs is 1.2 % off at 38 kHz at best), and the host time per capture.
// Run by hand: build/release/bench/kivo_learn_accuracy.


#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "FreshHandheld.h"
#include "irdriver/IrDriverInstance.h"
#include "host/Device.h"
#include "host/hw/ReceiverQueue.h"

namespace {

struct Shape {
    std::vector<std::int32_t> intro, repeat;
};

std::vector<Shape> shapes() {
    std::vector<Shape> all;
    Shape nec{{9000, -4500}, {9000, -2250, 560, -96190}};
    for (int bit = 0; bit < 32; ++bit) {
        nec.intro.push_back(560);
        nec.intro.push_back(bit % 3 == 0 ? -1690 : -560);
    }
    nec.intro.insert(nec.intro.end(), {560, -40000});
    all.push_back(nec);
    all.push_back({{}, {889, -889, 1778, -889, 889, -1778, 889, -889, 1778, -1778, 889, -889, 889, -89000}});
    all.push_back({{}, {2400, -600, 1200, -600, 600, -600, 1200, -600, 600, -600, 1200, -600, 600, -25000}});
    // RECS80's 141 µs pulses, Denon's 275 µs and RC-MM's 167 µs: the shortest in use.
    all.push_back({{}, {141, -7590, 141, -5090, 141, -5090, 141, -7590, 141, -5090, 141, -7590, 141, -60000}});
    all.push_back({{}, {275, -1900, 275, -775, 275, -775, 275, -1900, 275, -1900, 275, -775, 275, -43000}});
    all.push_back({{}, {417, -278, 167, -778, 167, -611, 167, -444, 167, -278, 167, -611, 167, -80000}});
    std::uint32_t seed = 12345;
    for (int r = 0; r < 2; ++r) {
        Shape random;
        for (int k = 0; k < 23; ++k) {
            seed = seed * 1103515245u + 12345u;
            const auto length = static_cast<std::int32_t>(300 + (seed >> 8) % 2700);
            random.repeat.push_back(k % 2 == 0 ? length : -length);
        }
        random.repeat.push_back(-30000);
        all.push_back(random);
    }
    return all;
}

double median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main() {
    const char* profiles[] = {"sa1110", "pxa250", "pxa255", "pxa26x", "pxa270", "s3c2410", "s3c2440", "omap1510", "omap850"};
    const std::uint32_t carriers[] = {36'000, 36'700, 38'000, 40'000, 56'000};
    const std::filesystem::path root = bench::select_fresh_handheld("learn");
    if (root.empty()) return 1;
    std::printf("| profile | captures | failed | worst µs | median µs | worst periods | median periods | worst of limit | worst carrier %% | host ms per capture |\n");
    std::printf("|---|---|---|---|---|---|---|---|---|---|\n");
    for (const char* profile : profiles) {
        bench::use_profile(profile);
        std::vector<double> errors_us, errors_periods;
        double worst_carrier = 0, worst_of_limit = 0, host_ms = 0;
        int captures = 0, failed = 0;
        for (const std::uint32_t hz : carriers) {
            for (const Shape& shape : shapes()) {
                sim::InfraredPress press{shape.intro, shape.repeat, hz, 33, 100'000'000, 500'000'000};
                host::hw::ReceiverQueue(host::Device::current().run_dir()).put(press);
                CIrDrvr* driver = GetIrDriver();
                driver->SetPortName(std::string(profile) == "sa1110" || std::string(profile) == "pxa26x" ||
                                            std::string(profile) == "s3c2440"
                                        ? u"COM2:"
                                        : u"COM3:");
                const auto start = std::chrono::steady_clock::now();
                const int code = driver->Learn();
                host_ms += std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
                ++captures;
                std::unique_ptr<std::int32_t[]> learned;
                std::uint16_t count = 0, repeat_start = 0, carrier = 0;
                driver->GetLearnedSignal(learned, count, repeat_start, carrier);
                ReleaseIrDriver();
                if (code != 0 || count == 0) {
                    ++failed;
                    continue;
                }
                const double period_us = 1e6 / hz;
                worst_carrier = std::max(worst_carrier, std::abs(carrier - period_us) / period_us * 100);
                std::vector<std::int32_t> played = shape.intro;
                while (played.size() < count) played.insert(played.end(), shape.repeat.begin(), shape.repeat.end());
                for (std::uint16_t k = 0; k < count; ++k) {
                    const double error = std::abs(std::abs(static_cast<double>(learned[k])) - std::abs(played[k]));
                    errors_us.push_back(error);
                    errors_periods.push_back(error / period_us);
                    worst_of_limit = std::max(worst_of_limit, error / (period_us / 2 + 0.02 * std::abs(played[k])));
                }
            }
        }
        const double worst_us = errors_us.empty() ? 0 : *std::max_element(errors_us.begin(), errors_us.end());
        const double worst_periods =
            errors_periods.empty() ? 0 : *std::max_element(errors_periods.begin(), errors_periods.end());
        std::printf("| %s | %d | %d | %.0f | %.0f | %.2f | %.2f | %.2f | %.1f | %.0f |\n", profile, captures, failed, worst_us,
                    median(errors_us), worst_periods, median(errors_periods), worst_of_limit, worst_carrier, host_ms / captures);
    }
    bench::remove_handheld(root);
    return 0;
}
