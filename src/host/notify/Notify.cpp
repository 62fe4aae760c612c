// The notification calls of the platform interface over NotificationStore.

#include "ce/Notify.h"

#include <string_view>

#include "host/Device.h"
#include "host/notify/NotificationStore.h"
#include "host/notify/ServiceLink.h"

namespace ce {

namespace {

// The path up to its NUL, looking no further than a path may be long; nothing when it has none.
bool path_of(LPCWSTR application, std::u16string_view* path) {
    if (application == nullptr) return false;
    for (std::size_t length = 0; length < MAX_PATH; ++length) {
        if (application[length] == u'\0') {
            *path = std::u16string_view(application, length);
            return length > 0;
        }
    }
    return false;
}

BOOL fail(DWORD error) {
    SetLastError(error);
    return FALSE;
}

// A registration made wakes the service (starting it when it is down); one removed only
// lets a running service know.
BOOL done(bool stored, bool registered) {
    if (!stored) return fail(ERROR_CANTWRITE);
    if (registered)
        host::ServiceLink::registered();
    else
        host::ServiceLink::changed();
    return TRUE;
}

}  // namespace

BOOL CeRunAppAtTime(LPCWSTR application, const SYSTEMTIME* time) {
    std::u16string_view path;
    if (!path_of(application, &path) || host::NotificationStore::key_of(path).empty())
        return fail(ERROR_INVALID_PARAMETER);
    FILETIME checked;
    if (time != nullptr && !SystemTimeToFileTime(time, &checked)) return fail(ERROR_INVALID_PARAMETER);
    auto& device = host::Device::current();
    if (!device.ready()) return fail(ERROR_PATH_NOT_FOUND);
    host::NotificationStore store(device.database());
    return done(time == nullptr ? store.remove_time(path) : store.set_time(path, *time), time != nullptr);
}

BOOL CeRunAppAtEvent(LPCWSTR application, LONG event) {
    std::u16string_view path;
    if (!path_of(application, &path) || host::NotificationStore::key_of(path).empty())
        return fail(ERROR_INVALID_PARAMETER);
    if (event != NOTIFICATION_EVENT_NONE && event != NOTIFICATION_EVENT_TIME_CHANGE &&
        event != NOTIFICATION_EVENT_TZ_CHANGE)
        return fail(ERROR_INVALID_PARAMETER);
    auto& device = host::Device::current();
    if (!device.ready()) return fail(ERROR_PATH_NOT_FOUND);
    host::NotificationStore store(device.database());
    return done(event == NOTIFICATION_EVENT_NONE ? store.remove_events(path) : store.add_event(path, event),
                event != NOTIFICATION_EVENT_NONE);
}

BOOL CeGetRunAppAtTime(LPCWSTR application, SYSTEMTIME* time) {
    std::u16string_view path;
    if (!path_of(application, &path) || host::NotificationStore::key_of(path).empty() || time == nullptr)
        return fail(ERROR_INVALID_PARAMETER);
    auto& device = host::Device::current();
    if (!device.ready()) return fail(ERROR_PATH_NOT_FOUND);
    const auto registered = host::NotificationStore(device.database()).time_of(path);
    if (!registered) return fail(ERROR_FILE_NOT_FOUND);
    *time = *registered;
    return TRUE;
}

}  // namespace ce
