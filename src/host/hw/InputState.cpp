#include "host/hw/InputState.h"

#include <fstream>
#include <map>
#include <mutex>
#include <sstream>
#include <string>

#include "host/LockFile.h"
#include "host/hw/Machine.h"

namespace host::hw {

namespace {

constexpr std::int64_t kUntilReleased = INT64_MAX;

std::int64_t wall_now_ns() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::system_clock::now().time_since_epoch())
        .count();
}

std::map<int, std::int64_t> parse(const std::filesystem::path& path) {
    std::map<int, std::int64_t> keys;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        int key = 0;
        std::string until;
        if (!(words >> key >> until) || key < 1 || key > 255) continue;
        if (until == "down") {
            keys[key] = kUntilReleased;
            continue;
        }
        try {
            keys[key] = std::stoll(until);
        } catch (...) {
            // A damaged line holds nothing.
        }
    }
    return keys;
}

std::map<int, std::int64_t>& virtual_holds() {
    static std::map<int, std::int64_t> holds;
    return holds;
}

}  // namespace

InputState::InputState(std::filesystem::path run_dir) : path_(std::move(run_dir) / kFileName) {}

bool InputState::hold(int virtual_key, std::chrono::milliseconds duration) {
    return update(virtual_key, wall_now_ns() + std::chrono::nanoseconds(duration).count());
}

bool InputState::press(int virtual_key) { return update(virtual_key, kUntilReleased); }

bool InputState::release(int virtual_key) { return update(virtual_key, 0); }

bool InputState::down(int virtual_key) const {
    const auto keys = parse(path_);
    const auto found = keys.find(virtual_key);
    return found != keys.end() && found->second > wall_now_ns();
}

bool InputState::update(int virtual_key, std::int64_t deadline) {
    if (virtual_key < 1 || virtual_key > 255) return false;
    const LockFile lock(path_.string() + ".lock");
    if (!lock.locked()) return false;
    auto keys = parse(path_);
    if (deadline == 0) keys.erase(virtual_key);
    else keys[virtual_key] = deadline;
    std::ostringstream text;
    const std::int64_t now = wall_now_ns();
    for (const auto& [key, until] : keys) {
        if (until == kUntilReleased) text << key << " down\n";
        else if (until > now) text << key << ' ' << until << '\n';
    }
    const std::filesystem::path temporary = path_.string() + ".new";
    bool written = false;
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << text.str();
        written = static_cast<bool>(out.flush());
    }
    std::error_code error;
    if (written) std::filesystem::rename(temporary, path_, error);
    return written && !error;
}

void InputState::hold_virtual(int virtual_key, std::int64_t duration_ns) {
    std::lock_guard guard(hardware_lock());
    virtual_holds()[virtual_key] = Machine::current().soc().clock().now() + duration_ns;
}

bool InputState::down_virtual(int virtual_key) {
    std::lock_guard guard(hardware_lock());
    auto& machine = Machine::current();
    // Reading the key state is a hardware access like any other: a loop that does nothing
    // but poll a held key still moves time on, so a hold measured in virtual time ends.
    if (machine.in_session()) machine.soc().clock().advance(sim::VirtualClock::kAccessCostNs);
    const auto found = virtual_holds().find(virtual_key);
    return found != virtual_holds().end() && found->second > Machine::current().soc().clock().now();
}

}  // namespace host::hw
