#include "MacroSteps.h"

#include "Arguments.h"
#include "ce/Text.h"
#include "irlib/utils/wide_text.h"

namespace handheld {

namespace {

using irvox::command;

// A time or count the 16-bit field of a macro holds.
std::optional<std::int32_t> number(std::string_view text, std::uint32_t least) {
    const auto value = whole_number(text);
    if (!value || *value < least || *value > 0xFFFF) return std::nullopt;
    return static_cast<std::int32_t>(*value);
}

// A comment is a line's display name, kept packed as KIVO's command list keeps it, so
// the list shows what was typed and `ir show` reads back either program's lines.
std::string packed_comment(std::string_view text) {
    const std::u16string wide = ce::utf16_from_utf8(text);
    std::string packed(wide.size() * 2 + 2, '\0');
    utils::pack_wide_text(wide.c_str(), packed.data(), packed.size());
    return packed.c_str();
}

std::string unpacked_comment(const char* packed) {
    const std::string_view text(packed);
    std::u16string wide(text.size() + 1, u'\0');
    utils::unpack_wide_text(text.data(), text.size() + 1, wide.data(), wide.size());
    return ce::utf8_from_utf16(wide.c_str());
}

}  // namespace

std::optional<irvox::command_list> MacroSteps::parse(const std::vector<std::string>& steps, std::string& error) {
    std::vector<command> commands;
    for (const std::string& step : steps) {
        const auto colon = step.find(':');
        const std::string key = step.substr(0, colon);
        const std::string value = colon == std::string::npos ? std::string() : step.substr(colon + 1);
        command* reference = !commands.empty() && commands.back().kind == command::kReference ? &commands.back() : nullptr;
        error = "step '" + step + "': ";
        if (colon == std::string::npos || value.empty()) {
            error += "needs KEY:VALUE";
            return std::nullopt;
        }
        if (key == "signal" || key == "macro") {
            command c;
            c.kind = command::kReference;
            c.id = command::owned_text(((key == "macro" ? "$" : "") + value).c_str());
            commands.push_back(std::move(c));
        } else if (key == "delay" || key == "action") {
            command c;
            c.kind = key == "delay" ? command::kDelay : command::kAction;
            if (key == "action") c.id = command::owned_text(value.c_str());
            else if (const auto ms = number(value, 0)) c.duration = *ms;
            else {
                error += "a pause of 0 to 65535 ms";
                return std::nullopt;
            }
            commands.push_back(std::move(c));
        } else if (reference == nullptr) {
            error += "'" + key + "' belongs after a signal:NAME or macro:NAME";
            return std::nullopt;
        } else if (key == "repeat" || key == "hold-ms") {
            const auto n = number(value, key == "repeat" ? 0 : 1);
            if (!n) {
                error += key == "repeat" ? "repeat takes 0 to 65535" : "hold-ms takes 1 to 65535";
                return std::nullopt;
            }
            reference->repeat = key == "repeat" ? *n : command::kByDuration;
            reference->duration = key == "repeat" ? command::kNotGiven : *n;
        } else if (key == "base") {
            reference->base = command::owned_text(value.c_str());
        } else if (key == "comment") {
            reference->comment = command::owned_text(packed_comment(value).c_str());
        } else {
            error += "unknown step";
            return std::nullopt;
        }
    }
    error.clear();
    irvox::command_list list;
    for (const command& c : commands) list.add(c);
    return list;
}

std::string MacroSteps::text(const command& c) {
    const std::string id = command::text_of(c.id);
    switch (c.kind) {
    case command::kDelay: return "delay:" + std::to_string(c.duration);
    case command::kAction: return "action:" + id;
    case command::kReference: {
        std::string out = id.starts_with('$') ? "macro:" + id.substr(1) : "signal:" + id;
        if (command::is_set(c.base)) out += std::string(" base:") + command::text_of(c.base);
        if (c.repeat == command::kByDuration) out += " hold-ms:" + std::to_string(c.duration);
        else if (c.repeat >= 0) out += " repeat:" + std::to_string(c.repeat);
        if (command::is_set(c.comment)) out += " comment:" + unpacked_comment(command::text_of(c.comment));
        return out;
    }
    default: return "kind " + std::to_string(c.kind);
    }
}

}  // namespace handheld
