#pragma once
// Device paths as the file chooser walks them: folders that exist, a path climbed up
// to the nearest folder that does, names joined to folders, and a folder as the
// drop-down box names it.

#include <string>

class FolderPath {
public:
    static constexpr const char16_t* kRoot = u"\\";
    static constexpr const char16_t* kRootName = u"My Device";

    static bool IsFolder(const std::u16string& path);
    // An existing entry that is not a folder.
    static bool IsFile(const std::u16string& path);
    // `path` when it is a folder; else what is left after taking off its last "\" part,
    // again and again, until that is a folder; the root when nothing usable is left.
    static std::u16string Climb(const std::u16string& path);
    // The folder with a "\" in front (the root is "\").
    static std::u16string Rooted(const std::u16string& folder);
    // `name` in `folder` (one "\" between them).
    static std::u16string Join(const std::u16string& folder, const std::u16string& name);
    // The folder without its leading and trailing "\"; "My Device" for the root.
    static std::u16string BoxText(const std::u16string& folder);
};
