#include "host/clock/ComputerZone.h"

#include <cstdlib>
#include <string_view>
#include <system_error>

#include "host/clock/TimeZone.h"

namespace host {

namespace {

constexpr const char* kSystemLink = "/etc/localtime";
constexpr const char* kLinkVariable = "KIVO_HOST_LOCALTIME";

std::optional<std::string> known(std::string name) {
    if (!TimeZone::find(name)) return std::nullopt;
    return name;
}

}  // namespace

ComputerZone::Choice ComputerZone::current() {
    if (auto zone = named_by_tz()) return {*zone, true};
    return {of_link(link()).value_or("UTC"), false};
}

namespace {

// TZ without the ':' that, in POSIX, says "a file of the tz database" (the name is the same).
std::optional<std::string_view> tz_text() {
    const char* value = std::getenv("TZ");
    if (value == nullptr) return std::nullopt;
    std::string_view text(value);
    if (text.starts_with(':')) text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    return text;
}

}  // namespace

std::optional<std::string> ComputerZone::named_by_tz() {
    const auto text = tz_text();
    if (!text) return std::nullopt;
    // A path into the tz database, or a link into it such as /etc/localtime.
    if (text->starts_with('/')) {
        std::error_code error;
        if (!std::filesystem::exists(*text, error)) return std::nullopt;
        if (auto zone = of_path(std::string(*text))) return zone;
        return of_link(std::string(*text));
    }
    return known(std::string(*text));
}

std::string ComputerZone::tz_refusal() {
    const auto text = tz_text();
    if (!text || named_by_tz()) return {};
    const std::string shown = "TZ=" + std::string(std::getenv("TZ"));
    if (text->starts_with('/')) {
        std::error_code error;
        if (!std::filesystem::exists(*text, error)) return shown + " names no file";
        return shown + " is not a zone's file inside the tz database (a path below a zoneinfo folder)";
    }
    // "CET-1CEST,M3.5.0,M10.5.0/3": rules spelt out, which only a zone's name replaces.
    if (text->find_first_of("0123456789,<") != std::string_view::npos)
        return shown + " is a POSIX rule, not a zone of the tz database; set TZ to a zone's name such as Europe/Berlin";
    return shown + " names no zone of the tz database (names such as Europe/Berlin are under /usr/share/zoneinfo)";
}

std::filesystem::path ComputerZone::link() {
    const char* path = std::getenv(kLinkVariable);
    return path != nullptr && *path != '\0' ? std::filesystem::path(path) : std::filesystem::path(kSystemLink);
}

std::optional<std::string> ComputerZone::of_link(const std::filesystem::path& link) {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(link, error);
    if (error) return std::nullopt;
    return of_path(target.string());
}

std::optional<std::string> ComputerZone::of_path(const std::string& path) {
    const std::string text = std::filesystem::path(path).lexically_normal().generic_string();
    constexpr std::string_view kFolder = "zoneinfo/";
    const auto at = text.rfind(kFolder);
    if (at == std::string::npos) return std::nullopt;
    std::string_view name = std::string_view(text).substr(at + kFolder.size());
    // The tz database's copies with and without leap seconds name the same zones.
    for (std::string_view copy : {"posix/", "right/"})
        if (name.starts_with(copy)) name.remove_prefix(copy.size());
    return known(std::string(name));
}

}  // namespace host
