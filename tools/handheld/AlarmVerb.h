#pragma once
// `handheld alarm`: sets, lists and removes alarms in the handheld's alarm store the way
// the main program does, so that a person at a terminal or a test can set an alarm
// without the alarm form. Its actions `add`, `list` and `remove` are verbs of their own.

#include "VerbGroup.h"

namespace handheld {

class AlarmVerb : public VerbGroup {
public:
    AlarmVerb();

private:
    void declare(CLI::App& command) override;
};

}  // namespace handheld
