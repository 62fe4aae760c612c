#pragma once
// A lock file of the handheld's run/ folder held with a flock: the folder and the file
// are made when missing, the lock is waited for (through signals) or only tried, and it
// is given back when the LockFile goes, or by the kernel however the process ends.
// Every LockFile opens the file anew, so two in one process exclude each other just as
// two processes do. A holder that takes the same lock again and again (a guard around
// many calls) keeps one LockFile and unlocks and locks it, one call each. Every flock of
// the handheld is taken here; the files are its owner's alone (0600), so no other
// account can open one, let alone hold its lock.

#include <sys/types.h>

#include <filesystem>

namespace host {

class LockFile {
public:
    enum class Wait { until_free, no };
    // An exclusive holder keeps every other out; shared holders keep out only an
    // exclusive one (so a shared try asks "does anyone hold it exclusively?").
    enum class Kind { exclusive, shared };

    LockFile() = default;
    explicit LockFile(const std::filesystem::path& path, Wait wait = Wait::until_free, mode_t permissions = 0600);
    // A lock file someone else makes: opened only when it is there (error() ENOENT when
    // not), neither it nor its folder is made.
    static LockFile existing(const std::filesystem::path& path, Kind kind, Wait wait);
    // Locks a file the caller has open and goes on using (a log it appends to):
    // exclusively, given back when this LockFile goes; the caller's file stays open.
    static LockFile on(int fd, Wait wait = Wait::until_free);
    ~LockFile();
    LockFile(LockFile&& other) noexcept;
    LockFile& operator=(LockFile&& other) noexcept;
    LockFile(const LockFile&) = delete;
    LockFile& operator=(const LockFile&) = delete;

    bool locked() const { return locked_; }
    // Not locked because another opener holds the lock (only when not waiting).
    bool busy() const;
    // The errno of the open or lock that failed; 0 when locked.
    int error() const { return error_; }
    // The open file, for a caller that keeps using it (maps it, locks ranges of it,
    // writes into it); -1 when the open failed.
    int fd() const { return fd_; }
    // Gives back the lock and hands the still open file to the caller, who closes it.
    int release();
    // Gives back the lock and keeps the file open for lock().
    void unlock();
    // Takes the lock again on the file kept open (exclusively); false when there is no
    // file or, not waiting, when another opener holds it.
    bool lock(Wait wait = Wait::until_free);

private:
    bool take(Kind kind, Wait wait);
    void close();

    int fd_ = -1;
    int error_ = 0;
    bool locked_ = false;
    bool shares_callers_file_ = false;  // made by on()
};

}  // namespace host
