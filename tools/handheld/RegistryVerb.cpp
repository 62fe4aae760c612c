#include "RegistryVerb.h"

#include <algorithm>

#include "Arguments.h"
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
    return same_word(argument, "(default)") ? std::u16string() : ce::utf16_from_utf8(argument);
}

std::string shown_value_name(const std::u16string& name) {
    return name.empty() ? "(default)" : ce::utf8_from_utf16(name);
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

void RegistryVerb::declare(CLI::App& command) {
    command.require_subcommand(1);
    describe("Reads and changes the handheld's registry.");
    // Every action names a key and, for some, a value of it.
    const auto add_key_and_value = [this](CLI::App& action) {
        action.add_option("KEY", key_text_,
                          "HKLM\\... or HKEY_LOCAL_MACHINE\\..., HKCU\\... or HKEY_CURRENT_USER\\...;\n"
                          "quote it, so that the shell keeps the backslashes")
            ->required()
            ->check([](const std::string& text) -> std::string {
                if (RegistryPath::parse(text)) return {};
                return "'" + text +
                       "' is not a registry key; write HKLM\\... or HKCU\\... (quoted, so that the shell keeps "
                       "the backslashes)";
            });
        return action.add_option("VALUE", value_, "a value name; \"\" or (default) is the key's default value");
    };
    add_key_and_value(*command.add_subcommand("query", "lists the key's values and subkeys (subkeys end in \\),\n"
                                                       "or shows one value"));
    set_ = command.add_subcommand("set", "stores a value, creating the key and the keys above it when missing");
    add_key_and_value(*set_)->required();
    CLI::Option* text = set_->add_option("--sz", text_, "store TEXT as a string")->type_name("TEXT");
    CLI::Option* number =
        add_number(*set_, "--dword", dword_, 0, 0xFFFFFFFF, "store N as a DWORD, decimal or 0x hexadecimal", "a DWORD");
    text->excludes(number);
    delete_ =
        command.add_subcommand("delete", "deletes the value, or without VALUE the key, which must have no subkeys");
    add_key_and_value(*delete_);
    command.footer(
        "examples:\n"
        "  handheld reg set 'HKLM\\Software\\TessaMedia\\KIVO' Volume --dword 0x10\n"
        "  handheld reg set 'HKCU\\Software\\TessaMedia\\KIVO' '' --sz 'Morning'\n"
        "  handheld reg query 'HKLM\\Software\\TessaMedia\\KIVO'\n"
        "  handheld reg delete 'HKLM\\Software\\TessaMedia\\KIVO' Volume");
}

ExitCode RegistryVerb::run(Console& console) {
    const auto key = RegistryPath::parse(key_text_);
    std::optional<std::u16string> value;
    if (value_) value = value_name_from_argument(*value_);
    if (set_->parsed()) return set(*key, *value, console);
    if (!delete_->parsed()) return query(*key, value, console);
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

ExitCode RegistryVerb::set(const RegistryPath& key, const std::u16string& value, Console& console) {
    if (!text_ && !dword_) return console.usage("needs either --sz TEXT or --dword N");
    const RegistryValue data = text_ ? RegistryValue::string(ce::utf16_from_utf8(*text_)) : RegistryValue::dword(*dword_);
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
