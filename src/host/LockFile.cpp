#include "host/LockFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

namespace host {

LockFile::LockFile(const std::filesystem::path& path, Wait wait, mode_t permissions) {
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, permissions);
    // The folder is made only when missing: most opens find it there.
    if (fd_ < 0 && errno == ENOENT) {
        std::error_code ignored;
        std::filesystem::create_directories(path.parent_path(), ignored);
        fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, permissions);
    }
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    if (!take(Kind::exclusive, wait)) close();
}

LockFile LockFile::existing(const std::filesystem::path& path, Kind kind, Wait wait) {
    LockFile file;
    file.fd_ = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (file.fd_ < 0) {
        file.error_ = errno;
        return file;
    }
    if (!file.take(kind, wait)) file.close();
    return file;
}

LockFile LockFile::on(int fd, Wait wait) {
    LockFile file;
    // A copy of the descriptor shares the open file, and so the lock, with the caller's.
    file.fd_ = ::fcntl(fd, F_DUPFD_CLOEXEC, 0);
    if (file.fd_ < 0) {
        file.error_ = errno;
        return file;
    }
    file.shares_callers_file_ = true;
    if (!file.take(Kind::exclusive, wait)) file.close();
    return file;
}

LockFile::~LockFile() { close(); }

LockFile::LockFile(LockFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)),
      error_(std::exchange(other.error_, 0)),
      locked_(std::exchange(other.locked_, false)),
      shares_callers_file_(std::exchange(other.shares_callers_file_, false)) {}

LockFile& LockFile::operator=(LockFile&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        error_ = std::exchange(other.error_, 0);
        locked_ = std::exchange(other.locked_, false);
        shares_callers_file_ = std::exchange(other.shares_callers_file_, false);
    }
    return *this;
}

bool LockFile::busy() const { return error_ == EWOULDBLOCK; }

bool LockFile::take(Kind kind, Wait wait) {
    int operation = kind == Kind::exclusive ? LOCK_EX : LOCK_SH;
    if (wait == Wait::no) operation |= LOCK_NB;
    int result;
    // A signal handled while waiting interrupts flock; the wait goes on.
    while ((result = ::flock(fd_, operation)) != 0 && errno == EINTR) {
    }
    error_ = result == 0 ? 0 : errno;
    locked_ = result == 0;
    return locked_;
}

int LockFile::release() {
    unlock();
    return std::exchange(fd_, -1);
}

void LockFile::unlock() {
    if (locked_) ::flock(fd_, LOCK_UN);
    locked_ = false;
}

bool LockFile::lock(Wait wait) {
    if (fd_ < 0) return false;
    return locked_ || take(Kind::exclusive, wait);
}

void LockFile::close() {
    // Closing the file's last descriptor gives the flock back; a file the caller still
    // has open (on()) is unlocked first. Nothing else unlocks here: a forked child
    // closing its copy must not take its parent's lock away.
    if (shares_callers_file_) unlock();
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
    locked_ = false;
}

}  // namespace host
