#pragma once
// One action of `handheld ui`: dump the foreground window's controls, or click, type into,
// choose an item of or step one of them. Each is a request the program answers (UiRequest).

#include <cstdint>
#include <string>

#include "Verb.h"

namespace handheld {

class UiCommand : public Verb {
public:
    enum class Action { dump, click, set, select, spin };

    explicit UiCommand(Action action);
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;

    Action action_;
    bool json_ = false;
    std::uint32_t id_ = 0;
    std::uint32_t index_ = 0;
    std::string text_;
    std::string direction_;
    std::uint32_t times_ = 1;
};

}  // namespace handheld
