#include "recordfile/ReplacementFile.h"

#include <utility>

#include "ce/Files.h"
#include "ce/Thread.h"

namespace {

// Another program may hold the new file for a moment (opening it without sharing).
constexpr int kReopenAttempts = 5;
constexpr ce::DWORD kReopenPauseMs = 20;

}  // namespace

ReplacementFile::ReplacementFile(std::u16string target, std::u16string staging)
    : target_(std::move(target)), staging_(std::move(staging)) {}

ReplacementFile::~ReplacementFile() {
    if (staged_) ce::DeleteFileW(staging_.c_str());
}

bool ReplacementFile::Write(const void* data, std::size_t size) {
    if (size > ce::INVALID_FILE_SIZE - 1) return false;
    ce::HANDLE out = ce::CreateFileW(staging_.c_str(), ce::GENERIC_READ | ce::GENERIC_WRITE, 0, ce::CREATE_ALWAYS);
    if (out == ce::INVALID_HANDLE_VALUE) return false;
    staged_ = true;
    ce::DWORD written = 0;
    const bool complete = ce::WriteFile(out, data, static_cast<ce::DWORD>(size), &written) && written == size &&
                          ce::FlushFileBuffers(out);
    ce::CloseHandle(out);
    return complete;
}

bool ReplacementFile::Replace() {
    if (!staged_ || !ce::ReplaceFileW(target_.c_str(), staging_.c_str())) return false;
    staged_ = false;
    return true;
}

bool ReplacementFile::ReplaceReopening(ce::HANDLE& handle, const std::function<bool()>& reopen) {
    if (handle != nullptr) ce::CloseHandle(handle);
    handle = nullptr;
    const bool replaced = Replace();
    for (int attempt = 1; !reopen() && attempt < kReopenAttempts; ++attempt) ce::Sleep(kReopenPauseMs);
    return replaced;
}
