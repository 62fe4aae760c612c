#pragma once
// `handheld ir`: the infrared actions, each a verb of its own: `log` prints what the
// LED sent as LIRC mode2 text, `pacing` shows or sets whether the SoC keeps to the wall
// clock, `send` sends a signal file through the infrared driver, `press` plays a
// remote's button into the receiver for the next capture, `learn` captures one; `put`,
// `macro`, `show` and `run` store, list and run the signals and macros of the alarms
// folder's codebases.

#include "VerbGroup.h"

namespace handheld {

class IrVerb : public VerbGroup {
public:
    IrVerb();

private:
    void declare(CLI::App& command) override;
};

}  // namespace handheld
