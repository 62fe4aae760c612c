#pragma once
// One word of the command line ("init", "reg", "time", ...) and everything after it.

#include <string>
#include <string_view>
#include <vector>

#include "Console.h"
#include "ExitCode.h"

namespace handheld {

class Verb {
public:
    Verb() = default;
    Verb(const Verb&) = delete;
    Verb& operator=(const Verb&) = delete;
    virtual ~Verb() = default;

    virtual std::string_view name() const = 0;
    // One line for the tool's verb list.
    virtual std::string_view summary() const = 0;
    // The usage, every argument and an example, for `handheld VERB --help`.
    virtual std::string_view help() const = 0;
    // Most verbs inspect a handheld that must already exist, so that a mistyped
    // --device reports an error instead of quietly making an empty handheld.
    virtual bool creates_device() const { return false; }

    // Runs with the handheld already selected; `arguments` are the words after the verb.
    virtual ExitCode run(const std::vector<std::string>& arguments, Console& console) = 0;
};

}  // namespace handheld
