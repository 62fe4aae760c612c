// The registry calls of the platform interface over RegistryStore and RegistryHandles.

#include "ce/Registry.h"

#include <cstring>

#include "host/Device.h"
#include "host/registry/RegistryHandles.h"
#include "host/registry/RegistryName.h"
#include "host/registry/RegistryStore.h"

namespace ce {

namespace {

// More than any setting the system keeps; bounds what a wrong byte count can make us read.
constexpr DWORD kMaxValueBytes = 1024 * 1024;

host::RegistryStore store() { return host::RegistryStore(host::Device::current().database()); }

LONG open_or_create(HKEY parent, LPCWSTR subKey, HKEY* result, bool create, DWORD* disposition) {
    if (result == nullptr) return ERROR_INVALID_PARAMETER;
    *result = nullptr;
    auto& handles = host::RegistryHandles::instance();
    const auto from = handles.key_id(parent);
    if (!from) return ERROR_INVALID_HANDLE;
    const auto path = host::registry_name::split_path(subKey);
    if (!path) return ERROR_INVALID_PARAMETER;
    std::int64_t id = 0;
    bool created = false;
    const LONG rc = create ? store().create(*from, *path, &id, &created) : store().open(*from, *path, &id);
    if (rc != ERROR_SUCCESS) return rc;
    *result = handles.open(id);
    if (disposition != nullptr) *disposition = created ? REG_CREATED_NEW_KEY : REG_OPENED_EXISTING_KEY;
    return ERROR_SUCCESS;
}

}  // namespace

LONG RegCreateKeyExW(HKEY parent, LPCWSTR subKey, HKEY* result, DWORD* disposition) {
    return open_or_create(parent, subKey, result, true, disposition);
}

LONG RegOpenKeyExW(HKEY parent, LPCWSTR subKey, HKEY* result) {
    return open_or_create(parent, subKey, result, false, nullptr);
}

LONG RegCloseKey(HKEY key) { return host::RegistryHandles::instance().close(key) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE; }

LONG RegDeleteKeyW(HKEY parent, LPCWSTR subKey) {
    if (subKey == nullptr) return ERROR_INVALID_PARAMETER;
    const auto from = host::RegistryHandles::instance().key_id(parent);
    if (!from) return ERROR_INVALID_HANDLE;
    const auto path = host::registry_name::split_path(subKey);
    if (!path) return ERROR_INVALID_PARAMETER;
    std::int64_t id = 0;
    if (const LONG rc = store().open(*from, *path, &id); rc != ERROR_SUCCESS) return rc;
    return store().delete_key(id);
}

LONG RegEnumKeyExW(HKEY key, DWORD index, LPWSTR name, DWORD* nameChars) {
    if (name == nullptr || nameChars == nullptr) return ERROR_INVALID_PARAMETER;
    const auto id = host::RegistryHandles::instance().key_id(key);
    if (!id) return ERROR_INVALID_HANDLE;
    std::u16string subkey;
    if (const LONG rc = store().subkey(*id, index, &subkey); rc != ERROR_SUCCESS) return rc;
    if (subkey.size() >= *nameChars) return ERROR_MORE_DATA;
    std::memcpy(name, subkey.c_str(), (subkey.size() + 1) * sizeof(WCHAR));
    *nameChars = static_cast<DWORD>(subkey.size());
    return ERROR_SUCCESS;
}

LONG RegQueryValueExW(HKEY key, LPCWSTR valueName, DWORD* type, BYTE* data, DWORD* dataBytes) {
    if (data != nullptr && dataBytes == nullptr) return ERROR_INVALID_PARAMETER;
    const auto id = host::RegistryHandles::instance().key_id(key);
    if (!id) return ERROR_INVALID_HANDLE;
    const auto name = host::registry_name::value_name(valueName);
    if (!name) return ERROR_INVALID_PARAMETER;
    host::RegistryStore::Value value;
    if (const LONG rc = store().read_value(*id, *name, &value); rc != ERROR_SUCCESS) return rc;
    const auto size = static_cast<DWORD>(value.data.size());
    if (type != nullptr) *type = value.type;
    if (data == nullptr) {
        if (dataBytes != nullptr) *dataBytes = size;
        return ERROR_SUCCESS;
    }
    const bool fits = *dataBytes >= size;
    *dataBytes = size;
    if (!fits) return ERROR_MORE_DATA;
    if (size != 0) std::memcpy(data, value.data.data(), size);
    return ERROR_SUCCESS;
}

LONG RegSetValueExW(HKEY key, LPCWSTR valueName, DWORD type, const BYTE* data, DWORD dataBytes) {
    if ((data == nullptr && dataBytes != 0) || dataBytes > kMaxValueBytes) return ERROR_INVALID_PARAMETER;
    if (type == REG_DWORD && dataBytes != sizeof(DWORD)) return ERROR_INVALID_PARAMETER;
    const auto id = host::RegistryHandles::instance().key_id(key);
    if (!id) return ERROR_INVALID_HANDLE;
    const auto name = host::registry_name::value_name(valueName);
    if (!name) return ERROR_INVALID_PARAMETER;
    return store().write_value(*id, *name, type, data, dataBytes);
}

LONG RegDeleteValueW(HKEY key, LPCWSTR valueName) {
    const auto id = host::RegistryHandles::instance().key_id(key);
    if (!id) return ERROR_INVALID_HANDLE;
    const auto name = host::registry_name::value_name(valueName);
    if (!name) return ERROR_INVALID_PARAMETER;
    return store().delete_value(*id, *name);
}

}  // namespace ce
