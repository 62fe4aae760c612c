#pragma once
// A lock file of the handheld's run/ folder held with an exclusive flock: the folder and
// the file are made when missing, the lock is waited for (through signals) or only tried,
// and it is given back when the LockFile goes, or by the kernel however the process ends.
// Every LockFile opens the file anew, so two in one process exclude each other just as
// two processes do.

#include <sys/types.h>

#include <filesystem>

namespace host {

class LockFile {
public:
    enum class Wait { until_free, no };

    LockFile() = default;
    explicit LockFile(const std::filesystem::path& path, Wait wait = Wait::until_free, mode_t permissions = 0644);
    ~LockFile();
    LockFile(LockFile&& other) noexcept;
    LockFile& operator=(LockFile&& other) noexcept;
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    bool locked() const { return fd_ >= 0; }
    // Not locked because another opener holds the lock (only when not waiting).
    bool busy() const;
    // The errno of the open or lock that failed; 0 when locked.
    int error() const { return error_; }
    // The open file, for a caller that keeps using it (maps it, locks ranges of it).
    int fd() const { return fd_; }
    // Gives back the lock and hands the still open file to the caller, who closes it.
    int release();

private:
    void close();

    int fd_ = -1;
    int error_ = 0;
};

}  // namespace host
