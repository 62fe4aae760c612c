#include "forms/SerialPorts.h"

#include <algorithm>
#include <optional>

#include "ce/Registry.h"

namespace {

constexpr const char16_t* kActive = u"Drivers\\Active";
constexpr const char16_t* kListenerKey = u"Software\\Microsoft\\Obex\\Settings";
constexpr const char16_t* kListenerValue = u"ServerState";
// Subkey names are read up to 512 bytes, a driver's key path up to 255.
constexpr ce::DWORD kNameChars = 256;
constexpr ce::DWORD kKeyPathBytes = 255;
constexpr ce::DWORD kTextBytes = 512;

// Closes the key when it goes.
class Key {
public:
    Key(ce::HKEY parent, const std::u16string& path) {
        if (ce::RegOpenKeyExW(parent, path.c_str(), &key_) != ce::ERROR_SUCCESS) key_ = nullptr;
    }
    Key(const Key&) = delete;
    Key& operator=(const Key&) = delete;
    ~Key() {
        if (key_ != nullptr) ce::RegCloseKey(key_);
    }
    bool open() const { return key_ != nullptr; }

    std::optional<std::u16string> Text(const char16_t* name, ce::DWORD max_bytes) const {
        std::vector<char16_t> buffer(max_bytes / sizeof(char16_t) + 1, u'\0');
        ce::DWORD bytes = max_bytes;
        ce::DWORD type = ce::REG_NONE;
        if (!open() || ce::RegQueryValueExW(key_, name, &type, reinterpret_cast<ce::BYTE*>(buffer.data()), &bytes) !=
                           ce::ERROR_SUCCESS ||
            type != ce::REG_SZ)
            return std::nullopt;
        return std::u16string(buffer.data());
    }
    std::optional<ce::DWORD> Dword(const char16_t* name) const {
        ce::DWORD value = 0;
        ce::DWORD bytes = sizeof value;
        ce::DWORD type = ce::REG_NONE;
        if (!open() || ce::RegQueryValueExW(key_, name, &type, reinterpret_cast<ce::BYTE*>(&value), &bytes) !=
                           ce::ERROR_SUCCESS ||
            type != ce::REG_DWORD)
            return std::nullopt;
        return value;
    }
    std::vector<std::u16string> Subkeys() const {
        std::vector<std::u16string> names;
        for (ce::DWORD index = 0; open(); ++index) {
            char16_t name[kNameChars];
            ce::DWORD chars = kNameChars;
            const ce::LONG result = ce::RegEnumKeyExW(key_, index, name, &chars);
            if (result == ce::ERROR_MORE_DATA) continue;  // a name too long to read is passed over
            if (result != ce::ERROR_SUCCESS) break;
            names.emplace_back(name, chars);
        }
        return names;
    }

private:
    ce::HKEY key_ = nullptr;
};

bool IsComName(const std::u16string& name) { return name.compare(0, 3, u"COM") == 0; }

// The driver's friendly name, from its key or else from that key's first subkey.
std::u16string FriendlyName(const Key& driver, const std::u16string& path) {
    if (auto name = driver.Text(u"FriendlyName", kTextBytes)) return *name;
    const auto subkeys = driver.Subkeys();
    if (subkeys.empty()) return {};
    return Key(ce::HKEY_LOCAL_MACHINE, path + u"\\" + subkeys.front()).Text(u"FriendlyName", kTextBytes).value_or(u"");
}

}  // namespace

void SerialPorts::EnumerateSerialPorts(std::vector<std::u16string>& list) {
    list.clear();
    list.emplace_back(kAutoDetect);
    const Key active(ce::HKEY_LOCAL_MACHINE, kActive);
    for (const std::u16string& subkey : active.Subkeys()) {
        const Key entry(ce::HKEY_LOCAL_MACHINE, std::u16string(kActive) + u"\\" + subkey);
        const std::u16string name = entry.Text(u"Name", kTextBytes).value_or(u"");
        if (!IsComName(name)) continue;
        const std::u16string path = entry.Text(u"Key", kTextBytes).value_or(u"");
        const Key driver(ce::HKEY_LOCAL_MACHINE, path);
        if (!driver.open()) continue;
        list.push_back(name + u" " + FriendlyName(driver, path));
    }
}

std::u16string SerialPorts::AutoDetectPort() {
    const Key active(ce::HKEY_LOCAL_MACHINE, kActive);
    if (!active.open()) return kFirstPort;
    std::vector<std::u16string> names = active.Subkeys();
    std::u16string irda = kDefaultInfraredPort;
    for (std::u16string& name : names) {
        const Key entry(ce::HKEY_LOCAL_MACHINE, std::u16string(kActive) + u"\\" + name);
        if (!entry.open()) continue;
        std::u16string path = entry.Text(u"Key", kKeyPathBytes).value_or(u"");
        std::transform(path.begin(), path.end(), path.begin(),
                       [](char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; });
        name = entry.Text(u"Name", kTextBytes).value_or(u"");
        if (path.find(u"IRDA") != std::u16string::npos) irda = name;
    }
    const Key listener(ce::HKEY_CURRENT_USER, kListenerKey);
    if (listener.Dword(kListenerValue).value_or(0) == 0) return irda;

    // The listener holds the IrDA port: COM1: if there is one, else the lowest other.
    std::u16string chosen = irda;
    for (const std::u16string& name : names) {
        if (!IsComName(name) || name == irda) continue;
        if (name == kFirstPort) return name;
        if (chosen == irda || name < chosen) chosen = name;
    }
    return chosen;
}

std::u16string SerialPorts::DeviceName(const std::u16string& line) {
    const auto colon = line.find(u':');
    return colon == std::u16string::npos ? line : line.substr(0, colon + 1);
}
