#pragma once
// The folder the file chooser showed when it was last closed, kept in the registry
// (HKEY_LOCAL_MACHINE "Software\TessaMedia\KIVO", string "LastFolder") so the next
// choice starts there.

#include <string>

class LastFolder {
public:
    static constexpr const char16_t* kValueName = u"LastFolder";
    static constexpr unsigned kMaxBytes = 1040;

    // Empty when it was never written (or is not a string that fits).
    static std::u16string Read();
    static bool Write(const std::u16string& folder);
};
