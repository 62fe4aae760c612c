// A second process for the registry tests. Reads commands from stdin, one a line, on
// keys under HKEY_CURRENT_USER ("-" names the default value), and answers one line each:
//   set PATH NAME TEXT   -> ok | error N       (REG_SZ)
//   dword PATH NAME N    -> ok | error N
//   get PATH NAME        -> sz TEXT | dword N | error N
//   delete PATH          -> ok | error N

#include <sstream>
#include <string>

#include "ce/Registry.h"
#include "AgentLoop.h"
#include "ce/Text.h"

namespace {

std::u16string wide(const std::string& text) { return ce::utf16_from_utf8(text); }
const char16_t* value_name(const std::u16string& name) { return name == u"-" ? nullptr : name.c_str(); }

ce::LONG with_key(const std::string& path, ce::HKEY* key) {
    return ce::RegCreateKeyExW(ce::HKEY_CURRENT_USER, wide(path).c_str(), key);
}

std::string set(const std::string& path, const std::u16string& name, ce::DWORD type, const void* data,
                ce::DWORD bytes) {
    ce::HKEY key = nullptr;
    ce::LONG rc = with_key(path, &key);
    if (rc == ce::ERROR_SUCCESS) {
        rc = ce::RegSetValueExW(key, value_name(name), type, static_cast<const ce::BYTE*>(data), bytes);
        ce::RegCloseKey(key);
    }
    return rc == ce::ERROR_SUCCESS ? "ok" : "error " + std::to_string(rc);
}

std::string get(const std::string& path, const std::u16string& name) {
    ce::HKEY key = nullptr;
    ce::LONG rc = ce::RegOpenKeyExW(ce::HKEY_CURRENT_USER, wide(path).c_str(), &key);
    ce::BYTE data[1024] = {};
    ce::DWORD bytes = sizeof data;
    ce::DWORD type = 0;
    if (rc == ce::ERROR_SUCCESS) {
        rc = ce::RegQueryValueExW(key, value_name(name), &type, data, &bytes);
        ce::RegCloseKey(key);
    }
    if (rc != ce::ERROR_SUCCESS) return "error " + std::to_string(rc);
    if (type == ce::REG_DWORD) return "dword " + std::to_string(*reinterpret_cast<ce::DWORD*>(data));
    const std::u16string text(reinterpret_cast<const char16_t*>(data), bytes / 2 - 1);
    return "sz " + ce::utf8_from_utf16(text);
}

std::string run(const std::string& line) {
    std::istringstream words(line);
    std::string command, path, name, argument;
    words >> command >> path >> name >> argument;
    if (command == "set") {
        const std::u16string text = wide(argument);
        return set(path, wide(name), ce::REG_SZ, text.c_str(), static_cast<ce::DWORD>((text.size() + 1) * 2));
    }
    if (command == "dword") {
        const auto number = static_cast<ce::DWORD>(std::stoul(argument));
        return set(path, wide(name), ce::REG_DWORD, &number, sizeof number);
    }
    if (command == "get") return get(path, wide(name));
    if (command == "delete") {
        const ce::LONG rc = ce::RegDeleteKeyW(ce::HKEY_CURRENT_USER, wide(path).c_str());
        return rc == ce::ERROR_SUCCESS ? "ok" : "error " + std::to_string(rc);
    }
    return "error unknown command";
}

}  // namespace

int main() { return testing_support::serve_commands(run); }
