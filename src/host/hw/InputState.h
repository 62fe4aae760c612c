#pragma once
// Which keys are down on the handheld, shared by all its processes through run/keys:
// one line per key, "VK DEADLINE" with DEADLINE the wall-clock time (Unix epoch, ns)
// until which it is held, or "VK down" for a key pressed and not yet released.
// Tests that need a hold measured on the SoC's clock use a virtual hold, which only
// the process that set it sees.

#include <chrono>
#include <cstdint>
#include <filesystem>

namespace host::hw {

class InputState {
public:
    static constexpr const char* kFileName = "keys";

    explicit InputState(std::filesystem::path run_dir);

    bool hold(int virtual_key, std::chrono::milliseconds duration);
    bool press(int virtual_key);
    bool release(int virtual_key);
    bool down(int virtual_key) const;

    // Held until the SoC's virtual clock has advanced by `duration_ns` from now.
    static void hold_virtual(int virtual_key, std::int64_t duration_ns);
    static bool down_virtual(int virtual_key);

private:
    // Rewrites the key's line (none when `deadline` is 0) under the file's lock.
    bool update(int virtual_key, std::int64_t deadline);

    std::filesystem::path path_;
};

}  // namespace host::hw
