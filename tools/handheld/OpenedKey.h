#pragma once
// A registry key the tool opened, closed again when it goes out of scope. The roots
// are predefined keys: they are used as they are and never closed.

#include "RegistryPath.h"
#include "ce/Registry.h"

namespace handheld {

class OpenedKey {
public:
    OpenedKey() = default;
    ~OpenedKey();
    OpenedKey(const OpenedKey&) = delete;
    OpenedKey& operator=(const OpenedKey&) = delete;

    // ERROR_SUCCESS or the registry's error code.
    ce::LONG open(const RegistryPath& path);
    // Opens, creating the key and any missing keys above it.
    ce::LONG create(const RegistryPath& path);

    ce::HKEY get() const { return key_; }

private:
    void close();
    // Both ways of getting a key share everything but the registry call.
    template <class Call>
    ce::LONG take(const RegistryPath& path, Call call);

    ce::HKEY key_ = nullptr;
    bool owned_ = false;
};

}  // namespace handheld
