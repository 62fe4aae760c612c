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

std::optional<std::string> ComputerZone::named_by_tz() {
    const char* value = std::getenv("TZ");
    if (value == nullptr) return std::nullopt;
    std::string_view name(value);
    // ":Europe/Berlin" says "a file of the tz database" in POSIX; the name is the same.
    if (name.starts_with(':')) name.remove_prefix(1);
    if (name.empty()) return std::nullopt;
    return known(std::string(name));
}

std::filesystem::path ComputerZone::link() {
    const char* path = std::getenv(kLinkVariable);
    return path != nullptr && *path != '\0' ? std::filesystem::path(path) : std::filesystem::path(kSystemLink);
}

std::optional<std::string> ComputerZone::of_link(const std::filesystem::path& link) {
    std::error_code error;
    const auto target = std::filesystem::read_symlink(link, error);
    if (error) return std::nullopt;
    const std::string text = target.lexically_normal().generic_string();
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
