#include "RegistryPath.h"

#include <utility>

#include "Arguments.h"
#include "ce/Text.h"

namespace handheld {

namespace {

struct RootName {
    std::string_view name;
    ce::HKEY key;
};

std::optional<ce::HKEY> root_named(std::string_view name) {
    const RootName roots[] = {{"HKLM", ce::HKEY_LOCAL_MACHINE},
                              {"HKEY_LOCAL_MACHINE", ce::HKEY_LOCAL_MACHINE},
                              {"HKCU", ce::HKEY_CURRENT_USER},
                              {"HKEY_CURRENT_USER", ce::HKEY_CURRENT_USER}};
    for (const auto& root : roots)
        if (same_word(name, root.name)) return root.key;
    return std::nullopt;
}

}  // namespace

std::optional<RegistryPath> RegistryPath::parse(std::string_view text) {
    const auto first = text.find('\\');
    const auto root = root_named(text.substr(0, first));
    if (!root) return std::nullopt;
    std::vector<std::u16string> components;
    if (first != std::string_view::npos) {
        std::string_view rest = text.substr(first + 1);
        for (;;) {
            const auto end = rest.find('\\');
            const auto component = rest.substr(0, end);
            if (component.empty()) return std::nullopt;
            components.push_back(ce::utf16_from_utf8(component));
            if (end == std::string_view::npos) break;
            rest.remove_prefix(end + 1);
        }
    }
    return RegistryPath(*root, std::move(components));
}

std::u16string RegistryPath::subkey() const {
    std::u16string path;
    for (const auto& component : components_) {
        if (!path.empty()) path += u'\\';
        path += component;
    }
    return path;
}

RegistryPath RegistryPath::parent() const {
    auto components = components_;
    if (!components.empty()) components.pop_back();
    return RegistryPath(root_, std::move(components));
}

std::string RegistryPath::text() const {
    std::string text = root_ == ce::HKEY_LOCAL_MACHINE ? "HKEY_LOCAL_MACHINE" : "HKEY_CURRENT_USER";
    for (const auto& component : components_) text += "\\" + ce::utf8_from_utf16(component);
    return text;
}

}  // namespace handheld
