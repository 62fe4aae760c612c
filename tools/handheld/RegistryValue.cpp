#include "RegistryValue.h"

#include <cstdio>
#include <cstring>

#include "ce/Text.h"

namespace handheld {

namespace {

std::string dword_text(ce::DWORD number) {
    char text[32];
    std::snprintf(text, sizeof text, "%lu (0x%08lx)", static_cast<unsigned long>(number),
                  static_cast<unsigned long>(number));
    return text;
}

std::string bytes_text(const std::vector<ce::BYTE>& data) {
    std::string text;
    for (const auto byte : data) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02x", unsigned{byte});
        if (!text.empty()) text += ' ';
        text += hex;
    }
    return text;
}

}  // namespace

RegistryValue RegistryValue::string(std::u16string_view text) {
    RegistryValue value;
    value.type_ = ce::REG_SZ;
    value.data_.resize((text.size() + 1) * sizeof(char16_t));
    if (!text.empty()) std::memcpy(value.data_.data(), text.data(), text.size() * sizeof(char16_t));
    return value;
}

RegistryValue RegistryValue::dword(ce::DWORD number) {
    RegistryValue value;
    value.type_ = ce::REG_DWORD;
    value.data_.resize(sizeof number);
    std::memcpy(value.data_.data(), &number, sizeof number);
    return value;
}

RegistryValue RegistryValue::from_data(ce::DWORD type, std::vector<ce::BYTE> data) {
    RegistryValue value;
    value.type_ = type;
    value.data_ = std::move(data);
    return value;
}

ce::LONG RegistryValue::read(ce::HKEY key, const std::u16string& name, RegistryValue& value) {
    ce::DWORD type = ce::REG_NONE;
    ce::DWORD bytes = 0;
    ce::LONG result = ce::RegQueryValueExW(key, name.c_str(), &type, nullptr, &bytes);
    if (result != ce::ERROR_SUCCESS) return result;
    std::vector<ce::BYTE> data(bytes);
    result = ce::RegQueryValueExW(key, name.c_str(), &type, data.data(), &bytes);
    if (result != ce::ERROR_SUCCESS) return result;
    data.resize(bytes);
    value.type_ = type;
    value.data_ = std::move(data);
    return ce::ERROR_SUCCESS;
}

ce::LONG RegistryValue::write(ce::HKEY key, const std::u16string& name) const {
    return ce::RegSetValueExW(key, name.c_str(), type_, data_.data(), static_cast<ce::DWORD>(data_.size()));
}

std::string RegistryValue::type_name() const {
    switch (type_) {
        case ce::REG_SZ: return "REG_SZ";
        case ce::REG_DWORD: return "REG_DWORD";
        case ce::REG_BINARY: return "REG_BINARY";
        case ce::REG_NONE: return "REG_NONE";
        default: return "type " + std::to_string(type_);
    }
}

std::string RegistryValue::data_text() const {
    if (type_ == ce::REG_DWORD && data_.size() == sizeof(ce::DWORD)) {
        ce::DWORD number = 0;
        std::memcpy(&number, data_.data(), sizeof number);
        return dword_text(number);
    }
    if (type_ == ce::REG_SZ) {
        std::u16string text(data_.size() / sizeof(char16_t), u'\0');
        if (!text.empty()) std::memcpy(text.data(), data_.data(), text.size() * sizeof(char16_t));
        // Stored with its terminator; a string written without one is shown whole.
        if (const auto end = text.find(u'\0'); end != std::u16string::npos) text.resize(end);
        return ce::utf8_from_utf16(text);
    }
    return bytes_text(data_);
}

}  // namespace handheld
