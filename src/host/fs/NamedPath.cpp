#include "host/fs/NamedPath.h"

#include "ce/Files.h"
#include "host/Device.h"
#include "host/fs/AttributeStore.h"

namespace host {

NamedPath::NamedPath(const char16_t* text, DevicePath::Wildcards wildcards)
    : path_(DevicePath::parse(text, wildcards)) {
    if (!path_.valid()) {
        error_ = path_.error();
        return;
    }
    // A handheld whose directory could not be made has no folders at all.
    if (!Device::current().ready()) {
        error_ = ce::ERROR_PATH_NOT_FOUND;
        return;
    }
    location_ = path_.locate();
    error_ = location_.error;
    key_ = path_.key();
}

bool NamedPath::is_read_only() const {
    return (AttributeStore::stored(key_).value_or(0) & ce::FILE_ATTRIBUTE_READONLY) != 0;
}

}  // namespace host
