#pragma once
// A verb whose actions are verbs of their own ("ir log", "ir send"), each in its own
// file, declared below it; the group runs the one chosen. Add an action by adding its
// Verb to the group's constructor.

#include <memory>
#include <vector>

#include "Verb.h"

namespace handheld {

class VerbGroup : public Verb {
public:
    using Verb::Verb;

    bool creates_device() const override;
    ExitCode run(Console& console) override;

protected:
    void add(std::unique_ptr<Verb> action) { actions_.push_back(std::move(action)); }
    void declare(CLI::App& command) override;

private:
    std::vector<std::unique_ptr<Verb>> actions_;
};

}  // namespace handheld
