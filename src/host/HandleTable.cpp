#include "host/HandleTable.h"

#include <mutex>
#include <unordered_set>

namespace host {

namespace {

std::mutex g_table_lock;
std::unordered_set<ce::KernelObject*>& table() {
    static auto* live = new std::unordered_set<ce::KernelObject*>;  // outlives static destructors
    return *live;
}

}  // namespace

ce::HANDLE register_handle(ce::KernelObject* object) {
    std::lock_guard guard(g_table_lock);
    table().insert(object);
    return object;
}

ce::KernelObject* lookup_handle(ce::HANDLE handle) {
    std::lock_guard guard(g_table_lock);
    return table().count(handle) != 0 ? handle : nullptr;
}

}  // namespace host

namespace ce {

BOOL CloseHandle(HANDLE handle) {
    KernelObject* object = nullptr;
    {
        std::lock_guard guard(host::g_table_lock);
        if (host::table().erase(handle) != 0) object = handle;
    }
    if (object == nullptr) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    delete object;
    return TRUE;
}

}  // namespace ce
