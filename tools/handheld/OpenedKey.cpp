#include "OpenedKey.h"

namespace handheld {

OpenedKey::~OpenedKey() { close(); }

void OpenedKey::close() {
    if (owned_) ce::RegCloseKey(key_);
    key_ = nullptr;
    owned_ = false;
}

template <class Call>
ce::LONG OpenedKey::take(const RegistryPath& path, Call call) {
    close();
    if (path.is_root()) {
        key_ = path.root();
        return ce::ERROR_SUCCESS;
    }
    const auto subkey = path.subkey();
    const ce::LONG result = call(path.root(), subkey.c_str(), &key_);
    owned_ = result == ce::ERROR_SUCCESS;
    if (!owned_) key_ = nullptr;
    return result;
}

ce::LONG OpenedKey::open(const RegistryPath& path) {
    return take(path, [](ce::HKEY root, ce::LPCWSTR subkey, ce::HKEY* key) { return ce::RegOpenKeyExW(root, subkey, key); });
}

ce::LONG OpenedKey::create(const RegistryPath& path) {
    return take(path,
                [](ce::HKEY root, ce::LPCWSTR subkey, ce::HKEY* key) { return ce::RegCreateKeyExW(root, subkey, key); });
}

}  // namespace handheld
