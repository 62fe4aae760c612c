#include "host/hw/lirc/LircListener.h"

#include <linux/lirc.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "host/hw/lirc/LircCapture.h"

namespace host::hw {

namespace {

constexpr std::size_t kSamplesPerRead = 256;
constexpr int kMostDrainedReads = 64;

int milliseconds_until(std::int64_t now_ns, std::int64_t end_ns) {
    return static_cast<int>(std::clamp<std::int64_t>((end_ns - now_ns + 999'999) / 1'000'000, 0, 60'000));
}

std::string hz_text(std::uint32_t hz) { return std::to_string(hz) + " Hz"; }

}  // namespace

std::string LircListener::prepare(LircDevice& receiver, bool& measuring) {
    LircCalls& calls = receiver.calls();
    std::string notes;
    if (receiver.can(LIRC_CAN_SET_REC_TIMEOUT)) {
        std::uint32_t lowest = 0, highest = 0;
        std::uint32_t timeout = kReceiveTimeoutUs;
        if (calls.ioctl(receiver.fd(), LIRC_GET_MIN_TIMEOUT, &lowest) == 0 &&
            calls.ioctl(receiver.fd(), LIRC_GET_MAX_TIMEOUT, &highest) == 0 && lowest <= highest)
            timeout = std::clamp(timeout, lowest, highest);
        if (const int set = calls.ioctl(receiver.fd(), LIRC_SET_REC_TIMEOUT, &timeout); set < 0)
            notes = ", receive timeout not set (" + std::string(std::strerror(-set)) + ")";
        else
            notes = ", receive timeout " + std::to_string(timeout) + " us";
    }
    measuring = false;
    if (receiver.can(LIRC_CAN_MEASURE_CARRIER)) {
        std::uint32_t on = 1;
        measuring = calls.ioctl(receiver.fd(), LIRC_SET_MEASURE_CARRIER_MODE, &on) == 0;
    }
    return notes;
}

// Samples queued before the learn began belong to an earlier press.
void LircListener::drain(LircDevice& receiver) {
    std::array<std::uint32_t, kSamplesPerRead> samples{};
    for (int i = 0; i < kMostDrainedReads && receiver.calls().poll(receiver.fd(), 0) > 0; ++i)
        if (receiver.calls().read(receiver.fd(), samples.data(), sizeof samples) <= 0) break;
}

LircHeard LircListener::listen(LircDevice& receiver, std::int64_t window_ns) {
    LircCalls& calls = receiver.calls();
    LircHeard heard;
    bool measuring = false;
    const std::string notes = prepare(receiver, measuring);
    drain(receiver);

    const std::int64_t start = calls.now_ns();
    LircCapture capture;
    std::int64_t last_sample = start;
    std::string failure;
    std::array<std::uint32_t, kSamplesPerRead> samples{};
    while (!capture.done()) {
        const std::int64_t now = calls.now_ns();
        const std::int64_t until = capture.heard() ? last_sample + kEndQuietNs : start + window_ns;
        if (now >= until) break;
        const int ready = calls.poll(receiver.fd(), milliseconds_until(now, until));
        if (ready < 0) {
            failure = receiver.error_text(-ready);
            break;
        }
        if (ready == 0) continue;
        const long got = calls.read(receiver.fd(), samples.data(), sizeof samples);
        if (got < 0) {
            if (got == -EAGAIN) continue;
            failure = "cannot receive: " + receiver.error_text(static_cast<int>(-got));
            break;
        }
        last_sample = calls.now_ns();
        for (long i = 0; i < got / 4 && capture.add(samples[static_cast<std::size_t>(i)], last_sample); ++i) {
        }
    }
    if (measuring) {
        std::uint32_t off = 0;
        calls.ioctl(receiver.fd(), LIRC_SET_MEASURE_CARRIER_MODE, &off);
    }

    const std::string& path = receiver.path();
    if (!failure.empty()) {
        heard.text = failure;
        return heard;
    }
    if (!capture.heard()) {
        char seconds[16];
        std::snprintf(seconds, sizeof seconds, "%.1f", static_cast<double>(window_ns) / 1e9);
        heard.text = path + ": nothing heard within " + seconds + " s" + notes;
        return heard;
    }
    heard.press = capture.press(capture.first_pulse_ns() - start);
    heard.carrier_measured = capture.measured_hz().has_value();
    heard.text = path + ": heard " + std::to_string(heard.press->intro.size()) + " entries " +
                 std::to_string(heard.press->after_ns / 1'000'000) + " ms after listening began, carrier " +
                 (heard.carrier_measured ? hz_text(heard.press->carrier_hz) + " measured by the receiver"
                                         : hz_text(heard.press->carrier_hz) +
                                               (measuring ? " assumed (the receiver reported none)"
                                                          : " assumed (the receiver measures none)")) +
                 (capture.overflowed() ? ", the receiver overflowed (the end is missing)" : "") + notes;
    return heard;
}

}  // namespace host::hw
