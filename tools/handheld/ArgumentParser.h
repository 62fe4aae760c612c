#pragma once
// The arguments of one verb: named options ("--sz TEXT", "--sz=TEXT"), flags and the
// positional words in order. Single-dash words ("-a", "-h") stay positional because
// attrib uses them as attribute changes; "--" makes every later word positional.

#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace handheld {

class ArgumentParser {
public:
    ArgumentParser& flag(std::string name);
    ArgumentParser& option(std::string name);

    // False, with error() saying why, for an unknown "--" option, an option without its
    // value or one given twice.
    bool parse(const std::vector<std::string>& arguments);
    const std::string& error() const { return error_; }

    const std::vector<std::string>& positionals() const { return positionals_; }
    bool has(std::string_view name) const;
    std::optional<std::string> value(std::string_view name) const;

private:
    bool take(const std::string& name, std::optional<std::string> value);

    std::set<std::string, std::less<>> flags_;
    std::set<std::string, std::less<>> options_;
    std::map<std::string, std::string, std::less<>> given_;
    std::vector<std::string> positionals_;
    std::string error_;
};

}  // namespace handheld
