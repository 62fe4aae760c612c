#pragma once
// The alarm store's lock: the named mutex both programs take before they read or change
// an alarm file, never held across user interaction. A lock that cannot be had within
// 2 seconds fails, and the caller abandons its operation without a message.

#include "ce/Types.h"

class AlarmStoreLock {
public:
    static constexpr const char16_t* kMutexName = u"AlarmDbMutexObject";
    static constexpr ce::DWORD kTimeoutMs = 2000;

    AlarmStoreLock() = default;
    ~AlarmStoreLock() { Unlock(); }
    AlarmStoreLock(const AlarmStoreLock&) = delete;
    AlarmStoreLock& operator=(const AlarmStoreLock&) = delete;

    // True when this object now owns the store (a crashed owner's mutex counts as won)
    // within `wait_ms`.
    bool Lock(ce::DWORD wait_ms = kTimeoutMs);
    // Releases the store; harmless when it is not held.
    void Unlock();
    bool Held() const { return mutex_ != nullptr; }

private:
    ce::HANDLE mutex_ = nullptr;
};
