#pragma once
// The button press waiting for the handheld's next infrared capture, shared by all its
// processes through run/receiver: `handheld ir press` puts one there, and the first
// process that samples its receiver in a driver session takes it (and so removes it).
// One press waits at a time; putting another replaces it.

#include <filesystem>
#include <optional>

#include "sim/InfraredPress.h"

namespace host::hw {

class ReceiverQueue {
public:
    static constexpr const char* kFileName = "receiver";

    explicit ReceiverQueue(std::filesystem::path run_dir);

    bool put(const sim::InfraredPress& press);
    // The waiting press, removed from the queue; nothing when none waits or it is unreadable.
    std::optional<sim::InfraredPress> take();
    bool waiting() const;

private:
    std::filesystem::path path_;
};

}  // namespace host::hw
