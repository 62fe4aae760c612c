#pragma once
// A path as the instance of a systemd template unit names it, the way `systemd-escape
// --path` writes it and the unit's %f reads it back: "/home/ann/.local/share/kivo/device"
// is "home-ann-.local-share-kivo-device"; a '-' of the path is "\x2d", and so is every
// byte outside letters, digits, ':', '_' and '.' (a leading '.' too).

#include <filesystem>
#include <optional>
#include <string>
#include <string_view>

namespace handheld {

class UnitPathName {
public:
    // `path` must be absolute; "." and ".." are worked out and repeated slashes dropped.
    static std::string escape(const std::filesystem::path& path);
    // The path an escaped name stands for; nothing for a name no escape gives.
    static std::optional<std::filesystem::path> unescape(std::string_view name);
};

}  // namespace handheld
