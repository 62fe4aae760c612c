#include "OpenedKey.h"

namespace handheld {

OpenedKey::~OpenedKey() { close(); }

void OpenedKey::close() {
    if (owned_) ce::RegCloseKey(key_);
    key_ = nullptr;
    owned_ = false;
}

ce::LONG OpenedKey::open(const RegistryPath& path) {
    close();
    if (path.is_root()) {
        key_ = path.root();
        return ce::ERROR_SUCCESS;
    }
    const auto subkey = path.subkey();
    const ce::LONG result = ce::RegOpenKeyExW(path.root(), subkey.c_str(), &key_);
    owned_ = result == ce::ERROR_SUCCESS;
    if (!owned_) key_ = nullptr;
    return result;
}

ce::LONG OpenedKey::create(const RegistryPath& path) {
    close();
    if (path.is_root()) {
        key_ = path.root();
        return ce::ERROR_SUCCESS;
    }
    const auto subkey = path.subkey();
    const ce::LONG result = ce::RegCreateKeyExW(path.root(), subkey.c_str(), &key_);
    owned_ = result == ce::ERROR_SUCCESS;
    if (!owned_) key_ = nullptr;
    return result;
}

}  // namespace handheld
