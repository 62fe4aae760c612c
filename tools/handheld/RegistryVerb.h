#pragma once
// `handheld reg query|set|delete`: reads and changes the handheld's registry through
// the same registry calls the programs use.

#include <cstdint>
#include <optional>
#include <string>

#include "RegistryPath.h"
#include "Verb.h"
#include "ce/Registry.h"

namespace handheld {

class RegistryVerb : public Verb {
public:
    RegistryVerb() : Verb("reg", "query, set or delete registry keys and values") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
    ExitCode query(const RegistryPath& key, const std::optional<std::u16string>& value, Console& console);
    ExitCode list(const RegistryPath& key, ce::HKEY opened, Console& console);
    ExitCode set(const RegistryPath& key, const std::u16string& value, Console& console);
    ExitCode remove_value(const RegistryPath& key, const std::u16string& value, Console& console);
    ExitCode remove_key(const RegistryPath& key, Console& console);

    CLI::App* set_ = nullptr;
    CLI::App* delete_ = nullptr;
    std::string key_text_;
    std::optional<std::string> value_;
    std::optional<std::string> text_;
    std::optional<std::uint32_t> dword_;
};

}  // namespace handheld
