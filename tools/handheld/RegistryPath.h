#pragma once
// A registry key as the command line names it: a root (HKLM, HKEY_LOCAL_MACHINE,
// HKCU, HKEY_CURRENT_USER, any case) and the path of subkeys below it.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ce/Registry.h"

namespace handheld {

class RegistryPath {
public:
    // Nothing for an unknown root or an empty component ("HKLM\\Software", "HKLM\").
    static std::optional<RegistryPath> parse(std::string_view text);

    ce::HKEY root() const { return root_; }
    bool is_root() const { return components_.empty(); }
    // The subkeys as one "\"-separated path below the root; empty for the root itself.
    std::u16string subkey() const;
    const std::vector<std::u16string>& components() const { return components_; }
    // The key one level up; the root's parent is the root.
    RegistryPath parent() const;
    // "HKEY_LOCAL_MACHINE\Software\TessaMedia" in UTF-8.
    std::string text() const;

private:
    RegistryPath(ce::HKEY root, std::vector<std::u16string> components)
        : root_(root), components_(std::move(components)) {}

    ce::HKEY root_;
    std::vector<std::u16string> components_;
};

}  // namespace handheld
