#pragma once
// A macro written as steps on the command line, and a stored macro shown the same way:
//   signal:TV repeat:3   a signal sent 3 times (without repeat: once, or while held)
//   signal:VOL hold-ms:1000   a signal sent for about a second
//   macro:Other          another macro of the codebase; base:NAME after a signal or
//                        macro takes it from codebase NAME; comment:TEXT notes it
//   delay:1500           a pause in milliseconds
//   action:ID            an action (it has no effect on this handheld)

#include <optional>
#include <string>
#include <vector>

#include "irlib/irvox/command_list.h"

namespace handheld {

class MacroSteps {
public:
    // The commands of `steps`, or nullopt with `error` naming the step that is wrong.
    static std::optional<irvox::command_list> parse(const std::vector<std::string>& steps, std::string& error);
    // One command as the steps that make it ("signal:TV repeat:3").
    static std::string text(const irvox::command& c);
};

}  // namespace handheld
