#include "UnitPathName.h"

#include <cstdio>

namespace handheld {

namespace {

bool kept(char c, bool first) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ':' || c == '_' ||
           (c == '.' && !first);
}

int hex_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::string UnitPathName::escape(const std::filesystem::path& path) {
    std::string text = path.lexically_normal().generic_string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    if (text == "/") return "-";
    std::string name;
    for (std::size_t at = text.front() == '/' ? 1 : 0; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '/') {
            name += '-';
        } else if (kept(c, name.empty())) {
            name += c;
        } else {
            char code[5];
            std::snprintf(code, sizeof code, "\\x%02x", static_cast<unsigned char>(c));
            name += code;
        }
    }
    return name;
}

std::optional<std::filesystem::path> UnitPathName::unescape(std::string_view name) {
    if (name == "-") return std::filesystem::path("/");
    std::string path = "/";
    for (std::size_t at = 0; at < name.size(); ++at) {
        const char c = name[at];
        if (c == '-') {
            path += '/';
        } else if (c == '\\') {
            if (at + 3 >= name.size() || name[at + 1] != 'x') return std::nullopt;
            const int high = hex_value(name[at + 2]);
            const int low = hex_value(name[at + 3]);
            if (high < 0 || low < 0) return std::nullopt;
            path += static_cast<char>(high * 16 + low);
            at += 3;
        } else if (kept(c, at == 0)) {
            path += c;
        } else {
            return std::nullopt;
        }
    }
    return std::filesystem::path(path);
}

}  // namespace handheld
