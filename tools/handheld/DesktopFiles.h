#pragma once
// The person's own desktop folders (XDG base directories) and the quoting of a desktop
// entry's Exec key, for what KIVO puts in the session: its menu entry and icon, and the
// autostart entry of a handheld's notification service.

#include <filesystem>
#include <string>

namespace handheld {

// $XDG_CONFIG_HOME, else ~/.config.
std::filesystem::path config_home();
// $XDG_DATA_HOME, else ~/.local/share.
std::filesystem::path data_home();
// One word of an Exec key, quoted so that desktops split and unescape it back to the same word.
std::string exec_word(const std::string& word);

// `handheld install --menu`: KIVO in the desktop's menu, started on this handheld, with
// its icon (drawn by tools/appicon into resources/desktop) in the hicolor theme.
class MenuEntry {
public:
    static std::filesystem::path entry_file();
    static bool write(const std::filesystem::path& device, std::string* failure);
};

}  // namespace handheld
