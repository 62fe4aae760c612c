#pragma once
// HKEY_LOCAL_MACHINE "Software\TessaMedia\KIVO\Alert": what the wake registration leaves
// for the programs started later. Its default value is the pending alarm path (the
// alarm file due next, "" when none); "exe" is the path of the alert program.

#include <optional>
#include <string>

class AlertKey {
public:
    static constexpr const char16_t* kKeyPath = u"Software\\TessaMedia\\KIVO\\Alert";
    static constexpr const char16_t* kExeValue = u"exe";

    // Empties the pending path only when the key exists (it is not created for this).
    static bool ClearPending();
    // Creates the key when needed.
    static bool SetPending(const std::u16string& alarm_path);
    static bool SetExe(const std::u16string& alert_path);

    // Nothing when the key or the value is missing.
    static std::optional<std::u16string> Pending();
    static std::optional<std::u16string> Exe();

private:
    static bool Write(const char16_t* value_name, const std::u16string& text, bool create);
    static std::optional<std::u16string> Read(const char16_t* value_name);
};
