#pragma once
// `handheld start`: starts the handheld's notification service, which starts the
// programs registered in the notification database at their time and after changes of
// the clock or the time zone. From then on a registration starts it again should it be
// down.

#include "Verb.h"

namespace handheld {

class StartVerb : public Verb {
public:
    StartVerb() : Verb("start", "start the handheld's notification service") {}
    ExitCode run(Console& console) override;

private:
    void declare(CLI::App& command) override;
};

}  // namespace handheld
