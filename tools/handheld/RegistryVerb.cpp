#include "RegistryVerb.h"

#include <algorithm>
#include <charconv>
#include <cstdint>

#include "ArgumentParser.h"
#include "ErrorText.h"
#include "OpenedKey.h"
#include "RegistryIndex.h"
#include "RegistryValue.h"
#include "ce/Text.h"
#include "host/Device.h"

namespace handheld {

namespace {

// Key names are at most 255 characters; the buffer leaves room for longer ones.
constexpr ce::DWORD kKeyNameChars = 1024;

std::u16string value_name_from_argument(std::string_view argument) {
    std::string lower(argument);
    std::transform(lower.begin(), lower.end(), lower.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c); });
    return lower == "(default)" ? std::u16string() : ce::utf16_from_utf8(argument);
}

std::string shown_value_name(const std::u16string& name) {
    return name.empty() ? "(default)" : ce::utf8_from_utf16(name);
}

// Decimal, or hexadecimal after "0x"; nothing for anything else or a number past 32 bits.
std::optional<ce::DWORD> parse_dword(std::string_view text) {
    int base = 10;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
        base = 16;
    }
    std::uint32_t number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number, base);
    if (text.empty() || error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return number;
}

std::string registry_error(ce::LONG result) { return error_text(static_cast<ce::DWORD>(result)); }

std::string key_not_opened(const RegistryPath& key, ce::LONG result) {
    if (result == ce::ERROR_FILE_NOT_FOUND) return "no key " + key.text();
    return "cannot open " + key.text() + ": " + registry_error(result);
}

// The subkeys in the order the registry enumerates them.
ce::LONG subkey_names(ce::HKEY key, std::vector<std::u16string>& names) {
    for (ce::DWORD index = 0;; ++index) {
        char16_t name[kKeyNameChars];
        ce::DWORD chars = kKeyNameChars;
        const ce::LONG result = ce::RegEnumKeyExW(key, index, name, &chars);
        if (result == ce::ERROR_NO_MORE_ITEMS) return ce::ERROR_SUCCESS;
        if (result != ce::ERROR_SUCCESS) return result;
        names.emplace_back(name, std::min(chars, kKeyNameChars));
    }
}

}  // namespace

std::string_view RegistryVerb::help() const {
    return "usage: handheld reg query KEY [VALUE]\n"
           "       handheld reg set KEY VALUE (--sz TEXT | --dword N)\n"
           "       handheld reg delete KEY [VALUE]\n"
           "\n"
           "Reads and changes the handheld's registry.\n"
           "\n"
           "  KEY          HKLM\\... or HKEY_LOCAL_MACHINE\\..., HKCU\\... or HKEY_CURRENT_USER\\...;\n"
           "               quote it, so that the shell keeps the backslashes\n"
           "  VALUE        a value name; \"\" or (default) is the key's default value\n"
           "  --sz TEXT    store TEXT as a string\n"
           "  --dword N    store N as a DWORD, decimal or 0x hexadecimal\n"
           "\n"
           "query without VALUE lists the key's values and subkeys (subkeys end in \\).\n"
           "set creates the key and the keys above it when missing.\n"
           "delete without VALUE deletes the key, which must have no subkeys.\n"
           "\n"
           "examples:\n"
           "  handheld reg set 'HKLM\\Software\\TessaMedia\\KIVO' Volume --dword 0x10\n"
           "  handheld reg set 'HKCU\\Software\\TessaMedia\\KIVO' '' --sz 'Morning'\n"
           "  handheld reg query 'HKLM\\Software\\TessaMedia\\KIVO'\n"
           "  handheld reg delete 'HKLM\\Software\\TessaMedia\\KIVO' Volume\n";
}

ExitCode RegistryVerb::run(const std::vector<std::string>& arguments, Console& console) {
    ArgumentParser parser;
    parser.option("--sz").option("--dword");
    if (!parser.parse(arguments)) return console.usage(parser.error());
    const auto& words = parser.positionals();
    if (words.empty()) return console.usage("needs query, set or delete");
    const std::string& action = words[0];
    if (action != "query" && action != "set" && action != "delete")
        return console.usage("unknown action '" + action + "'; use query, set or delete");
    if (words.size() < 2) return console.usage(action + " needs a KEY");
    const auto key = RegistryPath::parse(words[1]);
    if (!key)
        return console.usage("'" + words[1] +
                             "' is not a registry key; write HKLM\\... or HKCU\\... (quoted, so that the shell "
                             "keeps the backslashes)");
    if (words.size() > 3) return console.usage("unexpected argument '" + words[3] + "'");
    std::optional<std::u16string> value;
    if (words.size() == 3) value = value_name_from_argument(words[2]);

    if (action == "set") {
        if (!value) return console.usage("set needs a VALUE name (\"\" for the default value)");
        return set(*key, *value, parser, console);
    }
    if (parser.has("--sz") || parser.has("--dword")) return console.usage("--sz and --dword go with set only");
    if (action == "query") return query(*key, value, console);
    return value ? remove_value(*key, *value, console) : remove_key(*key, console);
}

ExitCode RegistryVerb::query(const RegistryPath& key, const std::optional<std::u16string>& value,
                             Console& console) {
    OpenedKey opened;
    if (const ce::LONG result = opened.open(key); result != ce::ERROR_SUCCESS)
        return console.fail(key_not_opened(key, result));
    if (!value) return list(key, opened.get(), console);
    RegistryValue data;
    const ce::LONG result = RegistryValue::read(opened.get(), *value, data);
    if (result == ce::ERROR_FILE_NOT_FOUND)
        return console.fail("no value " + shown_value_name(*value) + " in " + key.text());
    if (result != ce::ERROR_SUCCESS)
        return console.fail("cannot read " + shown_value_name(*value) + ": " + registry_error(result));
    console.out() << shown_value_name(*value) << "  " << data.type_name() << "  " << data.data_text() << '\n';
    return ExitCode::ok;
}

ExitCode RegistryVerb::list(const RegistryPath& key, ce::HKEY opened, Console& console) {
    std::vector<RegistryIndex::NamedValue> values;
    if (const ce::LONG result = RegistryIndex(host::Device::current().database()).values(key, values);
        result != ce::ERROR_SUCCESS)
        return console.fail("cannot list the values of " + key.text() + ": " +
                            registry_error(result));
    std::vector<std::u16string> subkeys;
    if (const ce::LONG result = subkey_names(opened, subkeys); result != ce::ERROR_SUCCESS)
        return console.fail("cannot list the subkeys of " + key.text() + ": " +
                            registry_error(result));
    std::size_t width = 0;
    for (const auto& value : values) width = std::max(width, shown_value_name(value.name).size());

    auto& out = console.out();
    out << key.text() << '\n';
    for (const auto& [name, value] : values) {
        const std::string shown = shown_value_name(name);
        out << "  " << shown << std::string(width - shown.size(), ' ') << "  " << value.type_name() << "  "
            << value.data_text() << '\n';
    }
    for (const auto& subkey : subkeys) out << "  " << ce::utf8_from_utf16(subkey) << "\\\n";
    return ExitCode::ok;
}

ExitCode RegistryVerb::set(const RegistryPath& key, const std::u16string& value, const ArgumentParser& parser,
                           Console& console) {
    const auto text = parser.value("--sz");
    const auto number = parser.value("--dword");
    if (text.has_value() == number.has_value()) return console.usage("set needs either --sz TEXT or --dword N");
    RegistryValue data;
    if (text) {
        data = RegistryValue::string(ce::utf16_from_utf8(*text));
    } else {
        const auto dword = parse_dword(*number);
        if (!dword) return console.usage("'" + *number + "' is not a DWORD (0 to 4294967295, or 0x0 to 0xffffffff)");
        data = RegistryValue::dword(*dword);
    }
    OpenedKey opened;
    if (const ce::LONG result = opened.create(key); result != ce::ERROR_SUCCESS)
        return console.fail("cannot create " + key.text() + ": " + registry_error(result));
    if (const ce::LONG result = data.write(opened.get(), value); result != ce::ERROR_SUCCESS)
        return console.fail("cannot set " + shown_value_name(value) + ": " + registry_error(result));
    console.out() << key.text() << "  " << shown_value_name(value) << "  " << data.type_name() << "  "
                  << data.data_text() << '\n';
    return ExitCode::ok;
}

ExitCode RegistryVerb::remove_value(const RegistryPath& key, const std::u16string& value, Console& console) {
    OpenedKey opened;
    if (const ce::LONG result = opened.open(key); result != ce::ERROR_SUCCESS)
        return console.fail(key_not_opened(key, result));
    const ce::LONG result = ce::RegDeleteValueW(opened.get(), value.c_str());
    if (result == ce::ERROR_FILE_NOT_FOUND)
        return console.fail("no value " + shown_value_name(value) + " in " + key.text());
    if (result != ce::ERROR_SUCCESS)
        return console.fail("cannot delete " + shown_value_name(value) + ": " +
                            registry_error(result));
    console.out() << "deleted value " << shown_value_name(value) << " of " << key.text() << '\n';
    return ExitCode::ok;
}

ExitCode RegistryVerb::remove_key(const RegistryPath& key, Console& console) {
    if (key.is_root()) return console.usage("the root " + key.text() + " cannot be deleted");
    {
        OpenedKey opened;
        if (const ce::LONG result = opened.open(key); result != ce::ERROR_SUCCESS)
            return console.fail(key_not_opened(key, result));
        char16_t name[kKeyNameChars];
        ce::DWORD chars = kKeyNameChars;
        if (ce::RegEnumKeyExW(opened.get(), 0, name, &chars) != ce::ERROR_NO_MORE_ITEMS)
            return console.fail(key.text() + " has subkeys; delete them first");
    }
    OpenedKey parent;
    if (const ce::LONG result = parent.open(key.parent()); result != ce::ERROR_SUCCESS)
        return console.fail(key_not_opened(key.parent(), result));
    const ce::LONG result = ce::RegDeleteKeyW(parent.get(), key.components().back().c_str());
    if (result != ce::ERROR_SUCCESS)
        return console.fail("cannot delete " + key.text() + ": " + registry_error(result));
    console.out() << "deleted key " << key.text() << '\n';
    return ExitCode::ok;
}

}  // namespace handheld
