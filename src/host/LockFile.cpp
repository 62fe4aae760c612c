#include "host/LockFile.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

namespace host {

LockFile::LockFile(const std::filesystem::path& path, Wait wait, mode_t permissions) {
    std::error_code ignored;
    std::filesystem::create_directories(path.parent_path(), ignored);
    fd_ = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, permissions);
    if (fd_ < 0) {
        error_ = errno;
        return;
    }
    const int operation = wait == Wait::until_free ? LOCK_EX : LOCK_EX | LOCK_NB;
    int result;
    // A signal handled while waiting interrupts flock; the wait goes on.
    while ((result = ::flock(fd_, operation)) != 0 && errno == EINTR) {
    }
    if (result != 0) {
        error_ = errno;
        close();
    }
}

LockFile::~LockFile() { close(); }

LockFile::LockFile(LockFile&& other) noexcept
    : fd_(std::exchange(other.fd_, -1)), error_(std::exchange(other.error_, 0)) {}

LockFile& LockFile::operator=(LockFile&& other) noexcept {
    if (this != &other) {
        close();
        fd_ = std::exchange(other.fd_, -1);
        error_ = std::exchange(other.error_, 0);
    }
    return *this;
}

bool LockFile::busy() const { return error_ == EWOULDBLOCK; }

int LockFile::release() {
    if (fd_ >= 0) ::flock(fd_, LOCK_UN);
    return std::exchange(fd_, -1);
}

void LockFile::close() {
    // Closing the file's last descriptor gives the flock back.
    if (fd_ >= 0) ::close(fd_);
    fd_ = -1;
}

}  // namespace host
