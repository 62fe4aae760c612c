#include "host/Device.h"

#include "host/DatabaseCheck.h"
#include "host/LockFile.h"
#include "host/DeviceOwner.h"
#include "host/clock/Clock.h"
#include "host/fs/HostError.h"
#include "host/hw/Machine.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <system_error>

namespace host {

namespace {

std::mutex g_device_lock;
std::unique_ptr<Device> g_device;

// What a new database does not have of the old one. The alarms themselves are files of
// fs/, and their registrations are made again from them.
constexpr const char* kLost =
    "the registry (the programs' options), the clock offset and time zone of its own, the "
    "processor profile, the audio, screen and infrared port settings and the file attributes "
    "went with it and are back at their defaults; the alarms' registrations are made again from "
    "the alarm files";

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

void Device::select(const std::filesystem::path& root, Opening opening) {
    std::lock_guard guard(g_device_lock);
    g_device = std::make_unique<Device>(root, opening);
}

Device::Device(std::filesystem::path root, Opening opening)
    : root_(std::move(root)), fs_dir_(root_ / "fs"), run_dir_(root_ / "run") {
    // Everything this process makes from here on, in the handheld or for it (locks,
    // sockets, the database's journal, logs, captured sound), is its owner's alone.
    umask(S_IRWXG | S_IRWXO);
    refusal_ = DeviceOwner::refusal(root_);
    if (!refusal_.empty()) return;
    std::error_code error;
    const bool had_files = !std::filesystem::is_empty(fs_dir(), error) && !error;
    for (const auto& dir : {fs_dir(), run_dir(), log_dir()}) {
        std::filesystem::create_directories(dir, error);
        if (error) {
            failure_ = "cannot make " + dir.string() + ": " + HostError::in_words(error.value());
            return;
        }
    }
    fs_fd_ = open(fs_dir().c_str(), O_PATH | O_DIRECTORY | O_CLOEXEC);
    const auto database = root_ / "device.db";
    if (opening == Opening::checked) {
        open_checked(database, had_files);
        return;
    }
    const bool made_now = !std::filesystem::exists(database, error);
    // SQLite would take an empty file for a new database and fill it, in silence: the
    // handheld's check (the service's, the tool's) is the one to make it anew, loudly.
    if (!made_now && std::filesystem::file_size(database, error) == 0 && !error) {
        failure_ = database.string() + " is empty (damaged): `handheld status` makes it anew";
        return;
    }
    ready_ = database_.open(database.string(), run_dir() / "settings.changes");
    if (!ready_) failure_ = database_.failure();
    if (ready_) DiskReserve::keep(reserve());
    // A handheld made before this choice existed keeps the clock of its own it had.
    if (ready_ && made_now) adopt_computer_clock(database_);
}

void Device::open_checked(const std::filesystem::path& database, bool had_files) {
    // One checker at a time: two that found the same damage must not both move it aside.
    const LockFile checking(run_dir() / "database.check");
    const auto finding = DatabaseCheck::examine(database);
    std::string kept;
    if (finding.state == DatabaseCheck::State::damaged) {
        const auto aside = DatabaseCheck::keep_aside(database, &failure_);
        if (aside.empty()) return;
        kept = aside.string();
    }
    ready_ = database_.open(database.string(), run_dir() / "settings.changes");
    if (!ready_) {
        failure_ = database_.failure();
        return;
    }
    DiskReserve::keep(reserve());
    const bool missing = finding.state == DatabaseCheck::State::absent && had_files;
    if (finding.state != DatabaseCheck::State::absent && kept.empty()) return;
    adopt_computer_clock(database_);
    if (kept.empty() && !missing) return;
    // The computer's time: the new database follows the computer's clock.
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char made[32];
    std::strftime(made, sizeof made, "%Y-%m-%d %H:%M:%S", &local);
    rebuilt_ = (missing ? "device.db was missing"
                        : "device.db was damaged (" + finding.why + ") and is kept as " + kept) +
               "; a new one was made at " + made + ": " + kLost;
    database_.set_setting(kRebuiltSetting, *rebuilt_);
}

Device::~Device() {
    if (fs_fd_ >= 0) close(fs_fd_);
}

hw::Machine& Device::machine() {
    if (!machine_) machine_ = std::make_unique<hw::Machine>(*this);
    return *machine_;
}

}  // namespace host
