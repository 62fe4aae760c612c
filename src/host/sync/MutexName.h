#pragma once
// Where a named mutex lives in the handheld's run/mutex/ folder. Names are case-sensitive
// and may hold any character, so each UTF-16 unit other than a letter, a digit, '_' or
// '-' is written as %XXXX (which keeps distinct names apart); a long name is cut into
// folders of 200 bytes to stay within the host's limit for one file name.

#include <filesystem>
#include <string_view>

namespace host {

class MutexName {
public:
    // `name` must not be empty.
    static std::filesystem::path file(const std::filesystem::path& folder, std::u16string_view name);

private:
    static constexpr std::size_t kComponentBytes = 200;
};

}  // namespace host
