#pragma once
// One word of the command line ("init", "reg", "ir send", ...): its subcommand, the
// arguments and options it declares there, and what it does with them.
//
// Adding a verb: derive from Verb in a file pair of its own (FooVerb.h/.cpp), pass its
// name and one-line summary to the constructor, declare its arguments and options in
// declare() bound to its members (add_number/add_seconds from Arguments.h for numbers),
// describe() it and put its examples in the command's footer, and do the work in run(),
// which starts with the handheld selected and the command line already checked. Then
// list it in HandheldTool's constructor and in CMakeLists.txt. A verb of several
// actions that are verbs of their own ("ir send", "ir log") derives from VerbGroup.

#include <CLI/CLI.hpp>

#include <string>

#include "Console.h"
#include "ExitCode.h"

namespace handheld {

class Verb {
public:
    Verb(std::string name, std::string summary) : name_(std::move(name)), summary_(std::move(summary)) {}
    Verb(const Verb&) = delete;
    Verb& operator=(const Verb&) = delete;
    virtual ~Verb() = default;

    const std::string& name() const { return name_; }
    // Adds the verb's subcommand below `parent` and declares what it takes.
    void attach(CLI::App& parent);
    // Whether this verb was the one given on the command line.
    bool chosen() const { return command_ != nullptr && command_->parsed(); }

    // Most verbs inspect a handheld that must already exist, so that a mistyped
    // --device reports an error instead of quietly making an empty handheld.
    virtual bool creates_device() const { return false; }
    // A verb that works beside the handheld, never in it (root giving the installed
    // service a capability), runs without opening one.
    virtual bool opens_device() const { return true; }
    virtual ExitCode run(Console& console) = 0;

protected:
    virtual void declare(CLI::App& command) = 0;
    CLI::App& command() const { return *command_; }
    // What the verb's own help says beyond its one-line summary.
    void describe(const std::string& details) { command_->description(summary_ + "\n\n" + details); }

private:
    std::string name_;
    std::string summary_;
    CLI::App* command_ = nullptr;
};

}  // namespace handheld
