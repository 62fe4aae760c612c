// The notification service of the handheld of $KIVO_DEVICE, the real one in all but who
// tells it of steps of the computer's clock: a test, not the kernel, so that nothing moves
// the machine's clock. Each line written to the FIFO testing_support::told_clock_steps (made here
// before the service listens) is one step, in milliseconds.

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <charconv>
#include <string>
#include <string_view>

#include "ToldClockSteps.h"
#include "host/Device.h"
#include "host/notify/ClockSteps.h"
#include "host/notify/NotificationService.h"
#include "host/notify/ProgramStarter.h"

namespace {

class ToldClockSteps : public host::ClockSteps {
public:
    explicit ToldClockSteps(const std::filesystem::path& fifo) {
        unlink(fifo.c_str());
        // Opened for writing too, so that a test closing its end is no end of the steps.
        if (mkfifo(fifo.c_str(), 0600) == 0) fd_ = open(fifo.c_str(), O_RDWR | O_NONBLOCK | O_CLOEXEC);
    }
    ~ToldClockSteps() override {
        if (fd_ >= 0) close(fd_);
    }
    int fd() const override { return fd_; }
    std::optional<std::chrono::milliseconds> take() override {
        char bytes[512];
        const ssize_t got = read(fd_, bytes, sizeof bytes);
        if (got <= 0) return std::nullopt;
        std::chrono::milliseconds steps{0};
        std::string_view lines(bytes, static_cast<std::size_t>(got));
        for (std::size_t end; (end = lines.find('\n')) != std::string_view::npos; lines.remove_prefix(end + 1)) {
            long long step = 0;
            std::from_chars(lines.data(), lines.data() + end, step);
            steps += std::chrono::milliseconds(step);
        }
        return steps;
    }

private:
    int fd_ = -1;
};

}  // namespace

int main() {
    host::Device& device = host::Device::current();
    if (!device.ready()) return 1;
    ToldClockSteps steps(testing_support::told_clock_steps(device));
    host::ProgramStarter starter;
    host::NotificationService service(device, starter, steps, {});
    return service.run();
}
