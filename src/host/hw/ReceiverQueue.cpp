#include "host/hw/ReceiverQueue.h"

#include <fstream>
#include <sstream>
#include <string>

#include "host/LockFile.h"

namespace host::hw {

namespace {

// Held while the file is written or taken, so a capture never reads half a press.
std::filesystem::path lock_path(const std::filesystem::path& queue) { return queue.string() + ".lock"; }

void write_entries(std::ostream& out, const char* name, const std::vector<std::int32_t>& entries) {
    out << name;
    for (const std::int32_t entry : entries) out << ' ' << entry;
    out << '\n';
}

std::optional<sim::InfraredPress> parse(std::istream& in) {
    sim::InfraredPress press;
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string key;
        if (!(words >> key)) continue;
        if (key == "intro" || key == "repeat") {
            auto& entries = key == "intro" ? press.intro : press.repeat;
            for (std::int32_t entry = 0; words >> entry;) entries.push_back(entry);
            if (!words.eof()) return std::nullopt;
        } else if (key == "carrier_hz") {
            if (!(words >> press.carrier_hz)) return std::nullopt;
        } else if (key == "duty_percent") {
            if (!(words >> press.duty_percent)) return std::nullopt;
        } else if (key == "after_ns") {
            if (!(words >> press.after_ns)) return std::nullopt;
        } else if (key == "hold_ns") {
            if (!(words >> press.hold_ns)) return std::nullopt;
        }
    }
    if (press.intro.empty() && press.repeat.empty()) return std::nullopt;
    return press;
}

}  // namespace

ReceiverQueue::ReceiverQueue(std::filesystem::path run_dir) : path_(std::move(run_dir) / kFileName) {}

bool ReceiverQueue::put(const sim::InfraredPress& press) {
    const LockFile lock(lock_path(path_));
    if (!lock.locked()) return false;
    const std::filesystem::path temporary = path_.string() + ".new";
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << "carrier_hz " << press.carrier_hz << "\nduty_percent " << press.duty_percent << "\nafter_ns "
            << press.after_ns << "\nhold_ns " << press.hold_ns << '\n';
        write_entries(out, "intro", press.intro);
        write_entries(out, "repeat", press.repeat);
        if (!out.flush()) return false;
    }
    std::error_code error;
    std::filesystem::rename(temporary, path_, error);
    return !error;
}

std::optional<sim::InfraredPress> ReceiverQueue::take() {
    const LockFile lock(lock_path(path_));
    std::ifstream in(path_);
    if (!lock.locked() || !in) return std::nullopt;
    auto press = parse(in);
    std::error_code error;
    std::filesystem::remove(path_, error);
    return press;
}

bool ReceiverQueue::waiting() const {
    std::error_code error;
    return std::filesystem::exists(path_, error);
}

}  // namespace host::hw
