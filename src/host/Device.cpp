#include "host/Device.h"

#include "host/DeviceOwner.h"
#include "host/clock/Clock.h"
#include "host/hw/Machine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <mutex>
#include <system_error>

namespace host {

namespace {

std::mutex g_device_lock;
std::unique_ptr<Device> g_device;

}  // namespace

std::filesystem::path Device::default_root() {
    if (const char* explicit_root = std::getenv("KIVO_DEVICE"); explicit_root != nullptr && *explicit_root != '\0')
        return explicit_root;
    if (const char* data = std::getenv("XDG_DATA_HOME"); data != nullptr && *data != '\0')
        return std::filesystem::path(data) / "kivo" / "device";
    const char* set = std::getenv("HOME");
    std::filesystem::path home = set != nullptr && *set == '/' ? set : "";
    // Under sudo the handheld meant is the invoking person's: root's own home holds none
    // of theirs (a HOME set to somewhere else is still followed).
    const char* invoker = std::getenv("SUDO_USER");
    if (geteuid() == 0 && invoker != nullptr && *invoker != '\0' &&
        (home.empty() || home == DeviceOwner::home_of(geteuid())))
        if (auto theirs = DeviceOwner::home_of(invoker); !theirs.empty()) home = std::move(theirs);
    // Never a shared folder such as /tmp: without a home there is no default handheld.
    if (home.empty()) home = DeviceOwner::home_of(geteuid());
    if (home.empty()) return {};
    return home / ".local" / "share" / "kivo" / "device";
}

Device& Device::current() {
    std::lock_guard guard(g_device_lock);
    if (!g_device) g_device = std::make_unique<Device>(default_root());
    return *g_device;
}

void Device::select(const std::filesystem::path& root) {
    std::lock_guard guard(g_device_lock);
    g_device = std::make_unique<Device>(root);
}

Device::Device(std::filesystem::path root)
    : root_(std::move(root)), fs_dir_(root_ / "fs"), run_dir_(root_ / "run") {
    // Everything this process makes from here on, in the handheld or for it (locks,
    // sockets, the database's journal, logs, captured sound), is its owner's alone.
    umask(S_IRWXG | S_IRWXO);
    refusal_ = DeviceOwner::refusal(root_);
    if (!refusal_.empty()) return;
    std::error_code error;
    for (const auto& dir : {fs_dir(), run_dir(), log_dir()}) {
        std::filesystem::create_directories(dir, error);
        if (error) return;
    }
    fs_fd_ = open(fs_dir().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const auto database = root_ / "device.db";
    const bool made_now = !std::filesystem::exists(database, error);
    ready_ = database_.open(database.string(), run_dir() / "settings.changes");
    // A handheld made before this choice existed keeps the clock of its own it had.
    if (ready_ && made_now) adopt_computer_clock(database_);
}

Device::~Device() {
    if (fs_fd_ >= 0) close(fs_fd_);
}

hw::Machine& Device::machine() {
    if (!machine_) machine_ = std::make_unique<hw::Machine>(*this);
    return *machine_;
}

}  // namespace host
