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

struct ToolFiles;

// `handheld install --menu`: KIVO in the desktop's menu, started on this handheld, with
// its icon in the person's hicolor theme. The entry is the package's (which starts KIVO
// on the default handheld) with its Exec naming this tool and this handheld; of the same
// name, it stands in for the package's in this person's menu.
class MenuEntry {
public:
    // KIVO's icons, as paths within a hicolor theme folder.
    static constexpr const char* kIcons[] = {"48x48/apps/kivo.png", "256x256/apps/kivo.png", "scalable/apps/kivo.svg"};

    static std::filesystem::path entry_file();
    // Copies the entry and the icons from `files` (a build's or a package's).
    static bool write(const ToolFiles& files, const std::filesystem::path& device, std::string* failure);
};

}  // namespace handheld
