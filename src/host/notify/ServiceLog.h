#pragma once
// The notification service's log, log/notify.log: one line per program started, per
// registration that could not be started and per bad input, stamped with the
// handheld's local time to the millisecond, so a person sees what woke up and when.

#include <filesystem>
#include <string_view>

namespace host {

class ServiceLog {
public:
    explicit ServiceLog(std::filesystem::path file) : file_(std::move(file)) {}

    // Appends "YYYY-MM-DD HH:MM:SS.mmm TEXT" in one write, so lines of two writers never mix.
    void line(std::string_view text);

private:
    std::filesystem::path file_;
};

}  // namespace host
