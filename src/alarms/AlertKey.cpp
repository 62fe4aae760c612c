#include "alarms/AlertKey.h"

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

#include "ce/Registry.h"

bool AlertKey::ClearPending() { return Write(nullptr, std::u16string(), false); }

bool AlertKey::SetPending(const std::u16string& alarm_path) { return Write(nullptr, alarm_path, true); }

bool AlertKey::SetExe(const std::u16string& alert_path) { return Write(kExeValue, alert_path, true); }

bool AlertKey::SetPendingDue(std::int64_t utc_seconds) {
    const std::string digits = std::to_string(utc_seconds);
    return Write(kDueValue, std::u16string(digits.begin(), digits.end()), true);
}

std::optional<std::int64_t> AlertKey::PendingDue() {
    const auto text = Read(kDueValue);
    if (!text || text->empty()) return std::nullopt;
    std::string digits;
    for (const char16_t c : *text) {
        if (c > 0x7F) return std::nullopt;
        digits += static_cast<char>(c);
    }
    std::int64_t seconds = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), seconds);
    if (error != std::errc() || end != digits.data() + digits.size()) return std::nullopt;
    return seconds;
}

bool AlertKey::SetFired(const std::vector<std::u16string>& alarm_paths) {
    std::u16string text;
    for (const auto& path : alarm_paths) text += (text.empty() ? u"" : u"|") + path;
    return Write(kFiredValue, text, true);
}

std::vector<std::u16string> AlertKey::Fired() {
    std::vector<std::u16string> paths;
    const std::u16string text = Read(kFiredValue).value_or(u"");
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = std::min(text.find(u'|', start), text.size());
        if (end > start) paths.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return paths;
}

std::optional<std::u16string> AlertKey::Pending() { return Read(nullptr); }

std::optional<std::u16string> AlertKey::Exe() { return Read(kExeValue); }

bool AlertKey::Write(const char16_t* value_name, const std::u16string& text, bool create) {
    ce::HKEY key = nullptr;
    const ce::LONG opened = create ? ce::RegCreateKeyExW(ce::HKEY_LOCAL_MACHINE, kKeyPath, &key)
                                   : ce::RegOpenKeyExW(ce::HKEY_LOCAL_MACHINE, kKeyPath, &key);
    if (opened != ce::ERROR_SUCCESS) return false;
    // The terminator is part of the value, so an empty path is one NUL character.
    const auto bytes = static_cast<ce::DWORD>((text.size() + 1) * sizeof(char16_t));
    const ce::LONG result =
        ce::RegSetValueExW(key, value_name, ce::REG_SZ, reinterpret_cast<const ce::BYTE*>(text.c_str()), bytes);
    ce::RegCloseKey(key);
    return result == ce::ERROR_SUCCESS;
}

std::optional<std::u16string> AlertKey::Read(const char16_t* value_name) {
    ce::HKEY key = nullptr;
    if (ce::RegOpenKeyExW(ce::HKEY_LOCAL_MACHINE, kKeyPath, &key) != ce::ERROR_SUCCESS) return std::nullopt;
    ce::DWORD type = ce::REG_NONE;
    ce::DWORD bytes = 0;
    std::optional<std::u16string> text;
    if (ce::RegQueryValueExW(key, value_name, &type, nullptr, &bytes) == ce::ERROR_SUCCESS && type == ce::REG_SZ) {
        std::vector<char16_t> buffer(bytes / sizeof(char16_t) + 1, u'\0');
        if (ce::RegQueryValueExW(key, value_name, &type, reinterpret_cast<ce::BYTE*>(buffer.data()), &bytes) ==
            ce::ERROR_SUCCESS)
            text = std::u16string(buffer.data());
    }
    ce::RegCloseKey(key);
    return text;
}
