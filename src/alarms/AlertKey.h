#pragma once
// HKEY_LOCAL_MACHINE "Software\TessaMedia\KIVO\Alert": what the wake registration leaves
// for the programs started later. Its default value is the pending alarm path (the
// alarm file due next, "" when none); "due" is the instant it falls due (whole UTC
// seconds, in decimal); "fired" the alarms a reminder has already fired for that
// instant, when another alarm met them there ('|' between paths); "exe" is the path of
// the alert program.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class AlertKey {
public:
    static constexpr const char16_t* kKeyPath = u"Software\\TessaMedia\\KIVO\\Alert";
    static constexpr const char16_t* kExeValue = u"exe";
    static constexpr const char16_t* kDueValue = u"due";
    static constexpr const char16_t* kFiredValue = u"fired";

    // Empties the pending path only when the key exists (it is not created for this).
    static bool ClearPending();
    // Creates the key when needed.
    static bool SetPending(const std::u16string& alarm_path);
    // The pending alarm's instant, written before its path by the one who registers it.
    static bool SetPendingDue(std::int64_t utc_seconds);
    static bool SetExe(const std::u16string& alert_path);

    // Nothing when the key or the value is missing.
    static std::optional<std::u16string> Pending();
    static std::optional<std::u16string> Exe();
    // Nothing when missing or not a number.
    static std::optional<std::int64_t> PendingDue();
    static bool SetFired(const std::vector<std::u16string>& alarm_paths);
    // Empty when missing.
    static std::vector<std::u16string> Fired();

private:
    static bool Write(const char16_t* value_name, const std::u16string& text, bool create);
    static std::optional<std::u16string> Read(const char16_t* value_name);
};
