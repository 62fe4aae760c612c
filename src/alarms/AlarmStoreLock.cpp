#include "alarms/AlarmStoreLock.h"

#include "ce/Sync.h"

bool AlarmStoreLock::Lock(ce::DWORD wait_ms) {
    if (mutex_ != nullptr) return true;
    ce::HANDLE mutex = ce::CreateMutexW(nullptr, ce::FALSE, kMutexName);
    if (mutex == nullptr) return false;
    // Own it even when this call created it: unowned, the next process to open it would
    // find it free and be inside the store at the same time.
    const ce::DWORD result = ce::WaitForSingleObject(mutex, wait_ms);
    if (result != ce::WAIT_OBJECT_0 && result != ce::WAIT_ABANDONED) {
        ce::CloseHandle(mutex);
        return false;
    }
    mutex_ = mutex;
    return true;
}

void AlarmStoreLock::Unlock() {
    if (mutex_ == nullptr) return;
    ce::ReleaseMutex(mutex_);
    ce::CloseHandle(mutex_);
    mutex_ = nullptr;
}
