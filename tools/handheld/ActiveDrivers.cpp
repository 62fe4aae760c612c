#include "ActiveDrivers.h"

#include <string>
#include <vector>

#include "ce/Registry.h"

namespace handheld {

namespace {

constexpr const char16_t* kActive = u"Drivers\\Active";

ce::LONG set_text(ce::HKEY key, const char16_t* name, std::u16string_view text) {
    const std::u16string value(text);
    return ce::RegSetValueExW(key, name, ce::REG_SZ, reinterpret_cast<const ce::BYTE*>(value.c_str()),
                              static_cast<ce::DWORD>((value.size() + 1) * sizeof(char16_t)));
}

}  // namespace

ce::LONG ActiveDrivers::clear() {
    ce::HKEY active = nullptr;
    if (ce::RegOpenKeyExW(ce::HKEY_LOCAL_MACHINE, kActive, &active) != ce::ERROR_SUCCESS) return ce::ERROR_SUCCESS;
    std::vector<std::u16string> names;
    for (ce::DWORD index = 0;; ++index) {
        char16_t name[256];
        ce::DWORD chars = 256;
        if (ce::RegEnumKeyExW(active, index, name, &chars) != ce::ERROR_SUCCESS) break;
        names.emplace_back(name, chars);
    }
    ce::LONG result = ce::ERROR_SUCCESS;
    for (const auto& name : names)
        if (const ce::LONG error = ce::RegDeleteKeyW(active, name.c_str()); error != ce::ERROR_SUCCESS) result = error;
    ce::RegCloseKey(active);
    return result;
}

ce::LONG ActiveDrivers::write_port(unsigned index, const sim::ComPort& port) {
    const std::u16string path = std::u16string(kActive) + u"\\" + (index < 10 ? u"0" : u"") +
                                std::u16string(1, static_cast<char16_t>(u'0' + index % 10));
    ce::HKEY entry = nullptr;
    if (const ce::LONG error = ce::RegCreateKeyExW(ce::HKEY_LOCAL_MACHINE, path.c_str(), &entry); error != ce::ERROR_SUCCESS)
        return error;
    ce::LONG result = set_text(entry, u"Name", port.name);
    if (result == ce::ERROR_SUCCESS) result = set_text(entry, u"Key", port.key);
    ce::RegCloseKey(entry);
    if (result != ce::ERROR_SUCCESS) return result;
    ce::HKEY driver = nullptr;
    const std::u16string key(port.key);
    if (const ce::LONG error = ce::RegCreateKeyExW(ce::HKEY_LOCAL_MACHINE, key.c_str(), &driver); error != ce::ERROR_SUCCESS)
        return error;
    result = set_text(driver, u"FriendlyName", port.friendly);
    ce::RegCloseKey(driver);
    return result;
}

ce::LONG ActiveDrivers::write(const sim::Profile& profile) {
    if (const ce::LONG error = clear(); error != ce::ERROR_SUCCESS) return error;
    unsigned index = 1;
    for (const auto& port : profile.ports)
        if (const ce::LONG error = write_port(index++, port); error != ce::ERROR_SUCCESS) return error;
    return ce::ERROR_SUCCESS;
}

}  // namespace handheld
