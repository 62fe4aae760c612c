#pragma once
// An ordered list of commands, turned into a macro record to store in a codebase and
// read back from one.

#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "irlib/irvox/command.h"

namespace meta::detail {
class writer_impl;
}

namespace irvox {

class command_list {
public:
    void add_delay(std::int32_t milliseconds);
    // A reference to signal `id` (or to macro `id` when it starts with "$"). Unless
    // `repeat` is command::kByDuration the duration is dropped. Null texts are not set.
    void add_reference(const char* id, std::int32_t repeat, std::int32_t duration, const char* comment,
                       const char* base);
    void add(const command& c) { commands_.push_back(c); }

    // Builds the record of macro `name` (a leading "$" dropped) into record(): 0, or -1
    // with no record for an empty list.
    int serialise_macro(std::string_view name);
    // Appends the commands of a macro record. Always 0: a malformed record yields the
    // commands read before the fault.
    int load_macro(std::span<const std::uint8_t> record);

    const std::vector<command>& commands() const { return commands_; }
    // The record serialise_macro built last.
    std::span<const std::uint8_t> record() const { return record_; }

private:
    static void write_command(meta::detail::writer_impl& writer, const command& c);

    std::vector<command> commands_;
    std::vector<std::uint8_t> record_;
};

}  // namespace irvox
