// A notification service killed in the middle of a start: it works out what is due on
// the handheld of $KIVO_DEVICE as the service does, and dies by SIGKILL at the moment
// named by its one argument: "before-spawn" (the program has not run) or "after-spawn"
// (it has, but the start was never finished).

#include <signal.h>

#include <string>

#include "host/Device.h"
#include "host/DeviceLog.h"
#include "host/clock/Clock.h"
#include "host/notify/NotificationRunner.h"
#include "host/notify/ServiceFiles.h"

namespace {

class DyingStarter : public host::ProgramStarter {
public:
    explicit DyingStarter(bool spawn_first) : spawn_first_(spawn_first) {}
    std::optional<host::StartedProgram> start(const std::u16string& program, const std::u16string& command_line,
                                              std::string* failure) override {
        if (spawn_first_) ProgramStarter::start(program, command_line, failure);
        raise(SIGKILL);
        return std::nullopt;
    }

private:
    bool spawn_first_;
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    DyingStarter starter(std::string(argv[1]) == "after-spawn");
    host::NotificationStore store(host::Device::current().database());
    const host::DeviceLog log(host::ServiceFiles::kLogName);
    host::NotificationRunner runner(store, starter, log);
    runner.start_due(host::device_utc_now());
    return 1;  // nothing was due
}
