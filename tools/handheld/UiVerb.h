#pragma once
// `handheld ui dump [--json] | click ID | set ID TEXT | select ID INDEX | spin ID up|down
// [TIMES]`: lists and operates the controls of the program window in the handheld's
// foreground, as a person at the screen would (the program's own handlers run).

#include "VerbGroup.h"

namespace handheld {

class UiVerb : public VerbGroup {
public:
    UiVerb();

private:
    void declare(CLI::App& command) override;
};

}  // namespace handheld
