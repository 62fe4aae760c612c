#pragma once
// A text log of the handheld in log/NAME.log: one line per event, stamped with the
// handheld's local time and the writing process, so a person can read what the
// handheld's services did and in which order. Lines from several processes interleave
// whole. A log that has reached kLimitBytes is moved to log/NAME.log.1 (replacing the
// older one) and begun afresh, so that nothing anyone can make a service write fills
// the disk.

#include <string>
#include <string_view>

namespace host {

class DeviceLog {
public:
    static constexpr long kLimitBytes = 1024 * 1024;

    explicit DeviceLog(std::string name) : name_(std::move(name)) {}

    // Appends "YYYY-MM-DD HH:MM:SS.mmm [PID] text"; false when the log cannot be written.
    bool write(std::string_view text) const;
    // The log's file on the host.
    std::string file() const;

private:
    std::string name_;
};

}  // namespace host
