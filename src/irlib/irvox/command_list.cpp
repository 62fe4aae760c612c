#include "irlib/irvox/command_list.h"

#include <algorithm>

#include "irlib/irvox/context.h"
#include "irlib/irvox/disassembler.h"
#include "irlib/irvox/macro_parser.h"
#include "irlib/irvox/macro_record.h"
#include "irlib/meta/omemstream.h"
#include "irlib/meta/reader_impl.h"
#include "irlib/meta/writer_impl.h"

namespace irvox {

namespace {

constexpr std::uint16_t kMacroVersion = 320;

// Numbers above what the 16-bit field holds are kept as the most it can say, not wrapped
// into a small one: 65535 ms for a time; 65534 passes for a repeat, as 65535 tells the
// driver to send once.
meta::value time_value(std::int32_t ms) {
    return meta::value::make_u16(static_cast<std::uint16_t>(std::clamp<std::int32_t>(ms, 0, 0xFFFF)));
}

meta::value repeat_value(std::int32_t repeat) {
    return meta::value::make_u16(static_cast<std::uint16_t>(repeat > 0xFFFF ? 0xFFFE : std::max(repeat, 0)));
}

}  // namespace

void command_list::add_delay(std::int32_t milliseconds) {
    command c;
    c.kind = command::kDelay;
    c.duration = milliseconds;
    commands_.push_back(std::move(c));
}

void command_list::add_reference(const char* id, std::int32_t repeat, std::int32_t duration, const char* comment,
                                 const char* base) {
    command c;
    c.kind = command::kReference;
    c.id = command::owned_text(id);
    c.base = command::owned_text(base);
    c.comment = command::owned_text(comment);
    c.repeat = repeat;
    c.duration = repeat == command::kByDuration ? duration : command::kNotGiven;
    commands_.push_back(std::move(c));
}

void command_list::write_command(meta::detail::writer_impl& writer, const command& c) {
    switch (c.kind) {
    case command::kReference: {
        if (!command::is_set(c.id)) return;
        writer.begin_element("reference");
        if (command::is_set(c.base)) writer.attribute("base", c.base);
        writer.attribute(command::text_of(c.id)[0] == '$' ? "macro" : "signal", c.id);
        if (command::is_set(c.comment)) writer.attribute("comment", c.comment);
        if (c.duration >= 1) writer.attribute("duration", time_value(c.duration));
        else if (c.repeat >= 0) writer.attribute("repeat", repeat_value(c.repeat));
        writer.end_element();
        return;
    }
    case command::kAction:
        if (!command::is_set(c.id)) return;
        writer.begin_element("action");
        writer.attribute("id", c.id);
        writer.end_element();
        return;
    case command::kDelay:
        if (c.duration < 1) return;
        writer.begin_element("delay");
        writer.attribute("ms", time_value(c.duration));
        writer.end_element();
        return;
    default: return;
    }
}

int command_list::serialise_macro(std::string_view name) {
    record_.clear();
    if (commands_.empty()) return -1;
    name = name.substr(0, name.find('\0'));
    if (!name.empty() && name.front() == '$') name.remove_prefix(1);

    meta::omemstream out;
    out.put(0x00);
    out.put(0x01);
    out.write(reinterpret_cast<const std::uint8_t*>(name.data()), name.size());
    out.put(0x00);
    meta::detail::writer_impl writer(out);
    writer.begin_element("macro");
    writer.attribute("ver", meta::value::make_u16(kMacroVersion));
    for (const command& c : commands_) write_command(writer, c);
    writer.end_element();
    record_.assign(out.data(), out.data() + out.size());
    return 0;
}

int command_list::load_macro(std::span<const std::uint8_t> record) {
    const auto stream = macro_record::stream(record);
    context outcome;
    disassembler collector(*this);
    macro_parser parser(outcome, collector, 0, true);
    meta::detail::reader_impl reader;
    reader.set_handler(&parser);
    reader.parse(stream.data(), stream.size());
    return 0;
}

}  // namespace irvox
