#pragma once
// Helpers the file system tests share: a handle that closes itself, whole-file reads and
// writes through the device calls, and the error a failing call leaves.

#include <memory>
#include <string>

#include "ce/Files.h"

namespace fs_testing {

struct HandleCloser {
    void operator()(ce::HANDLE handle) const {
        if (handle != ce::INVALID_HANDLE_VALUE) ce::CloseHandle(handle);
    }
};
using ScopedHandle = std::unique_ptr<ce::KernelObject, HandleCloser>;
inline bool valid(const ScopedHandle& handle) { return handle && handle.get() != ce::INVALID_HANDLE_VALUE; }

// What a call expected to fail left as the last error; kSucceeded when it did not fail.
inline constexpr ce::DWORD kSucceeded = 0xFFFFFFFF;
inline ce::DWORD failure(ce::BOOL result) { return result ? kSucceeded : ce::GetLastError(); }

inline ScopedHandle open_file(const char16_t* path, ce::DWORD access, ce::DWORD share = 0,
                              ce::DWORD disposition = ce::OPEN_EXISTING) {
    return ScopedHandle(ce::CreateFileW(path, access, share, disposition));
}
inline ce::DWORD open_failure(const char16_t* path, ce::DWORD access, ce::DWORD share = 0,
                              ce::DWORD disposition = ce::OPEN_EXISTING) {
    return valid(open_file(path, access, share, disposition)) ? kSucceeded : ce::GetLastError();
}

inline bool write_file(const char16_t* path, const std::string& contents) {
    const auto file = open_file(path, ce::GENERIC_WRITE, 0, ce::CREATE_ALWAYS);
    ce::DWORD written = 0;
    return valid(file) && ce::WriteFile(file.get(), contents.data(), ce::DWORD(contents.size()), &written) &&
           written == contents.size();
}

// The whole contents, or "<error N>" when the file cannot be opened.
inline std::string read_file(const char16_t* path) {
    const auto file = open_file(path, ce::GENERIC_READ, ce::FILE_SHARE_READ);
    if (!valid(file)) return "<error " + std::to_string(ce::GetLastError()) + ">";
    std::string contents;
    char buffer[4096];
    ce::DWORD got = 0;
    while (ce::ReadFile(file.get(), buffer, sizeof buffer, &got) && got > 0) contents.append(buffer, got);
    return contents;
}

}  // namespace fs_testing
