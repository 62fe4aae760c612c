// The mutex calls of the platform interface over MutexTable.

#include "ce/Sync.h"

#include <memory>
#include <optional>

#include "host/Device.h"
#include "host/sync/MutexHandle.h"
#include "host/sync/MutexName.h"
#include "host/sync/MutexTable.h"

namespace ce {

namespace {

// The name's length, or nothing when it is longer than a name may be (looking no further).
std::optional<std::size_t> name_length(LPCWSTR name) {
    for (std::size_t length = 0; length <= MAX_PATH; ++length)
        if (name[length] == u'\0') return length;
    return std::nullopt;
}

std::shared_ptr<host::MutexObject> open(BOOL initialOwner, LPCWSTR name, bool* existed, DWORD* error) {
    auto& table = host::MutexTable::instance();
    const bool owned = initialOwner != FALSE;
    if (name == nullptr || *name == u'\0') return table.open_private(owned, error);
    const auto length = name_length(name);
    if (!length) {
        *error = ERROR_INVALID_NAME;
        return nullptr;
    }
    auto& device = host::Device::current();
    if (!device.ready()) {
        *error = ERROR_PATH_NOT_FOUND;
        return nullptr;
    }
    const auto file = host::MutexName::file(device.run_dir() / "mutex", std::u16string_view(name, *length));
    return table.open_named(file, owned, device.reserve(), existed, error);
}

}  // namespace

HANDLE CreateMutexW(void* /*securityAttributes*/, BOOL initialOwner, LPCWSTR name) {
    bool existed = false;
    DWORD error = ERROR_SUCCESS;
    auto object = open(initialOwner, name, &existed, &error);
    if (object == nullptr) {
        SetLastError(error);
        return nullptr;
    }
    HANDLE handle = host::register_handle(new host::MutexHandle(std::move(object)));
    SetLastError(existed ? ERROR_ALREADY_EXISTS : ERROR_SUCCESS);
    return handle;
}

BOOL ReleaseMutex(HANDLE mutex) {
    auto* handle = host::handle_as<host::MutexHandle>(mutex);
    return handle != nullptr && handle->release() ? TRUE : FALSE;
}

DWORD WaitForSingleObject(HANDLE object, DWORD milliseconds) {
    auto* waitable = host::handle_as<host::Waitable>(object);
    return waitable == nullptr ? WAIT_FAILED : waitable->wait(milliseconds);
}

}  // namespace ce
