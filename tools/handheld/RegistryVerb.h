#pragma once
// `handheld reg query|set|delete`: reads and changes the handheld's registry through
// the same registry calls the programs use.

#include <optional>
#include <string>

#include "RegistryPath.h"
#include "Verb.h"
#include "ce/Registry.h"

namespace handheld {

class ArgumentParser;

class RegistryVerb : public Verb {
public:
    std::string_view name() const override { return "reg"; }
    std::string_view summary() const override { return "query, set or delete registry keys and values"; }
    std::string_view help() const override;
    ExitCode run(const std::vector<std::string>& arguments, Console& console) override;

private:
    ExitCode query(const RegistryPath& key, const std::optional<std::u16string>& value, Console& console);
    ExitCode list(const RegistryPath& key, ce::HKEY opened, Console& console);
    ExitCode set(const RegistryPath& key, const std::u16string& value, const ArgumentParser& parser,
                 Console& console);
    ExitCode remove_value(const RegistryPath& key, const std::u16string& value, Console& console);
    ExitCode remove_key(const RegistryPath& key, Console& console);
};

}  // namespace handheld
