#include "ArgumentParser.h"

namespace handheld {

ArgumentParser& ArgumentParser::flag(std::string name) {
    flags_.insert(std::move(name));
    return *this;
}

ArgumentParser& ArgumentParser::option(std::string name) {
    options_.insert(std::move(name));
    return *this;
}

bool ArgumentParser::take(const std::string& name, std::optional<std::string> value) {
    if (given_.contains(name)) {
        error_ = name + " is given twice";
        return false;
    }
    const bool is_flag = flags_.contains(name);
    if (!is_flag && !options_.contains(name)) {
        error_ = "unknown option " + name;
        return false;
    }
    if (is_flag && value) {
        error_ = name + " takes no value";
        return false;
    }
    if (!is_flag && !value) {
        error_ = name + " needs a value";
        return false;
    }
    given_.emplace(name, value.value_or(""));
    return true;
}

bool ArgumentParser::parse(const std::vector<std::string>& arguments) {
    bool options_end = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& word = arguments[i];
        if (options_end || word.size() < 3 || !word.starts_with("--")) {
            if (word == "--" && !options_end) {
                options_end = true;
                continue;
            }
            positionals_.push_back(word);
            continue;
        }
        const auto equals = word.find('=');
        if (equals != std::string::npos) {
            if (!take(word.substr(0, equals), word.substr(equals + 1))) return false;
        } else if (options_.contains(word)) {
            if (i + 1 >= arguments.size()) return take(word, std::nullopt);
            if (!take(word, arguments[++i])) return false;
        } else if (!take(word, std::nullopt)) {
            return false;
        }
    }
    return true;
}

bool ArgumentParser::has(std::string_view name) const { return given_.contains(name); }

std::optional<std::string> ArgumentParser::value(std::string_view name) const {
    const auto found = given_.find(name);
    if (found == given_.end()) return std::nullopt;
    return found->second;
}

}  // namespace handheld
