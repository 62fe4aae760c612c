#pragma once
// The handheld's notification database: programs registered to be started at a local
// time or after a system event. Registrations persist across processes and restarts;
// the handheld's scheduler starts the program with the command-line word of the
// registration (NotificationStore in the host lists them).

#include "ce/Time.h"
#include "ce/Types.h"

namespace ce {

inline constexpr LONG NOTIFICATION_EVENT_NONE = 0;
inline constexpr LONG NOTIFICATION_EVENT_TIME_CHANGE = 1;
inline constexpr LONG NOTIFICATION_EVENT_TZ_CHANGE = 12;

// The words a started program finds on its command line.
inline constexpr const char16_t* APP_RUN_AT_TIME = u"AppRunAtTime";
inline constexpr const char16_t* APP_RUN_AFTER_TIME_CHANGE = u"AppRunAfterTimeChange";
inline constexpr const char16_t* APP_RUN_AFTER_TZ_CHANGE = u"AppRunAfterTzChange";

// Registers `application` (a device path) to run once at the local time `time`,
// replacing its previous timed registration; a null `time` removes that registration.
// FALSE with ERROR_INVALID_PARAMETER for a missing path or a time that does not exist.
BOOL CeRunAppAtTime(LPCWSTR application, const SYSTEMTIME* time);
// Registers `application` to run after every `event` (time change or time-zone change;
// registering twice keeps one); NOTIFICATION_EVENT_NONE removes all its event
// registrations. FALSE with ERROR_INVALID_PARAMETER for other events.
BOOL CeRunAppAtEvent(LPCWSTR application, LONG event);
// The local time `application` is registered to run at: FALSE when it has no timed
// registration (never made, removed, or used up by its start).
BOOL CeGetRunAppAtTime(LPCWSTR application, SYSTEMTIME* time);

}  // namespace ce
