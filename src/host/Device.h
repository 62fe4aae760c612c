#pragma once
// The simulated handheld: a directory holding its file system (fs/), its databases
// (device.db), its runtime objects (run/) and what its hardware did (log/). It is its
// owner's alone: a process that opens one makes everything it creates from then on
// private (folders 0700, files and sockets 0600, whatever umask it was started with),
// and a handheld another account owns or may change is refused (DeviceOwner).

#include <filesystem>
#include <memory>
#include <optional>
#include <string>

#include "host/Database.h"
#include "host/DiskReserve.h"

namespace host {

namespace hw {
class Machine;
}

class Device {
public:
    // The handheld of this process: $KIVO_DEVICE, else ~/.local/share/kivo/device
    // (following $XDG_DATA_HOME; under sudo, in the invoking account's home), created on
    // first use. Never null: when the directory
    // cannot be made, the device reports itself not ready and every call fails cleanly.
    static Device& current();
    // How a handheld's device.db is opened: as it is (the handheld's programs), or checked
    // first (the notification service and the tool, as they start), a damaged one kept
    // aside and a new one made (rebuilt() says so).
    enum class Opening { plain, checked };
    // Switches the process to another handheld (tests, `handheld --device`).
    // Handles opened on the previous one must be closed first.
    static void select(const std::filesystem::path& root, Opening opening = Opening::plain);
    static std::filesystem::path default_root();

    explicit Device(std::filesystem::path root, Opening opening = Opening::plain);
    ~Device();
    Device(const Device&) = delete;
    Device& operator=(const Device&) = delete;

    bool ready() const { return ready_; }
    // Why the handheld is not ready, in words.
    const std::string& failure() const { return failure_; }
    // When this opening found device.db damaged (or gone while the handheld's files
    // were there) and made a new one: what happened, what was lost and where the old
    // file is, for the opener to tell. Also kept in the new database (kRebuiltSetting).
    const std::optional<std::string>& rebuilt() const { return rebuilt_; }
    static constexpr const char* kRebuiltSetting = "database.rebuilt";
    // Why the handheld is not used at all (another account's, open to others); empty when
    // it is, or when it only failed to open.
    const std::string& refusal() const { return refusal_; }
    const std::filesystem::path& root() const { return root_; }
    const std::filesystem::path& fs_dir() const { return fs_dir_; }
    // fs/ opened as a place to look paths up from (O_PATH), or -1.
    int fs_fd() const { return fs_fd_; }
    const std::filesystem::path& run_dir() const { return run_dir_; }
    std::filesystem::path log_dir() const { return root_ / "log"; }
    // The space kept so that a full disk does not stop the handheld (DiskReserve).
    std::filesystem::path reserve() const { return DiskReserve::of(root_); }
    Database& database() { return database_; }
    // The handheld's processor model, built from its profile on first use.
    hw::Machine& machine();

private:
    void open_checked(const std::filesystem::path& database, bool had_files);

    std::filesystem::path root_;
    // Asked for at every file call: made once.
    std::filesystem::path fs_dir_;
    std::filesystem::path run_dir_;
    Database database_;
    int fs_fd_ = -1;
    bool ready_ = false;
    std::string failure_;
    std::optional<std::string> rebuilt_;
    std::string refusal_;
    std::unique_ptr<hw::Machine> machine_;
};

}  // namespace host
