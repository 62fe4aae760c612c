#pragma once
// The object behind an HKEY that RegOpenKeyExW / RegCreateKeyExW hand out: the id of a
// row of reg_keys. The key may be deleted (by any process) while the handle is open;
// every call then finds the row gone and fails instead of touching another key.

#include <cstdint>

namespace ce {

class RegistryKey {
public:
    explicit RegistryKey(std::int64_t id) : id_(id) {}
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    std::int64_t id() const { return id_; }

private:
    std::int64_t id_;
};

}  // namespace ce
