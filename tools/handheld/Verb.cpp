#include "Verb.h"

namespace handheld {

void Verb::attach(CLI::App& parent) {
    command_ = parent.add_subcommand(name_, summary_);
    // Single-dash words such as attrib's "-h" belong to the verbs.
    command_->set_help_flag("--help", "this text");
    // Its examples are its own, and its actions start without any.
    command_->footer("");
    // At most one action: a later word that names another action is an argument.
    command_->require_subcommand(-1);
    declare(*command_);
}

}  // namespace handheld
