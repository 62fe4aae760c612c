#pragma once
// Where the tool finds what it puts on a handheld and the programs it starts: beside it
// in the build tree (the places the build compiled in), or, when the tool runs from an
// installed package, below its own prefix (PREFIX/bin/kivo-handheld finds the programs
// in PREFIX/lib/kivo, the help page in PREFIX/share/kivo and KIVO's menu entry and icons
// in PREFIX/share/applications and PREFIX/share/icons), so an installed tool needs no
// build tree. The build lays the menu entry and icons out the same way, in BUILD/share.

#include <filesystem>

namespace handheld {

struct ToolFiles {
    std::filesystem::path programs;        // KIVO, Alert, kivowake and KIVOSETUP.so
    std::filesystem::path help_page;       // KIVO.htm
    std::filesystem::path notify_service;  // the handheld's notification service
    std::filesystem::path help_viewer;     // the handheld's own help viewer
    std::filesystem::path menu_entry;      // kivo.desktop: KIVO in the menu, on the default handheld
    std::filesystem::path icon_theme;      // the hicolor theme folder holding KIVO's icons
    std::filesystem::path user_unit;       // kivo.service, the default handheld's; a build has none
    std::filesystem::path user_template;   // kivo@.service, any handheld's by its path; a build has none

    // The files of the running tool: its package's when it was installed, else the build's.
    static ToolFiles of_this_tool();
    // The files of a package installed below `prefix` (the folder holding bin/, lib/, share/).
    static ToolFiles installed(const std::filesystem::path& prefix);
    // Whether `prefix` holds an installed package.
    static bool is_installed(const std::filesystem::path& prefix);
};

}  // namespace handheld
