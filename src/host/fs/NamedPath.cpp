#include "host/fs/NamedPath.h"

#include <unistd.h>

#include <utility>

#include "ce/Files.h"
#include "host/Device.h"
#include "host/fs/AttributeStore.h"

namespace host {

NamedPath::NamedPath(const char16_t* text, DevicePath::Wildcards wildcards)
    : path_(DevicePath::parse(text, wildcards)) {
    look_up(std::nullopt);
}

NamedPath::NamedPath(const char16_t* text, int open_flags) : path_(DevicePath::parse(text)) { look_up(open_flags); }

void NamedPath::look_up(std::optional<int> open_flags) {
    if (!path_.valid()) {
        error_ = path_.error();
        return;
    }
    // A handheld whose directory could not be made has no folders at all.
    if (!Device::current().ready()) {
        error_ = ce::ERROR_PATH_NOT_FOUND;
        return;
    }
    location_ = open_flags ? path_.locate_opening(*open_flags, &fd_) : path_.locate();
    error_ = location_.error;
}

const std::string& NamedPath::key() const {
    if (!key_) key_ = path_.key();
    return *key_;
}

NamedPath::~NamedPath() {
    if (fd_ >= 0) close(fd_);
}

int NamedPath::take_fd() { return std::exchange(fd_, -1); }

bool NamedPath::is_read_only() const {
    return (AttributeStore::stored(key(), location_.host, fd_).value_or(0) & ce::FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace host
