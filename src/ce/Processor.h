#pragma once
// What the handheld's kernel says about its processor, and the high-resolution counter.

#include "ce/Types.h"

namespace ce {

inline constexpr DWORD IOCTL_PROCESSOR_INFORMATION = 0x01010064;

// The processor-information record as the platform lays it out (576 bytes).
struct PROCESSOR_INFO {
    WORD wVersion = 0;
    WCHAR szProcessCore[40] = {};
    WORD wCoreRevision = 0;
    WCHAR szProcessorName[40] = {};
    WORD wProcessorRevision = 0;
    WCHAR szCatalogNumber[100] = {};
    WCHAR szVendor[100] = {};
    DWORD dwInstructionSet = 0;
    DWORD dwClockSpeed = 0;
};
static_assert(sizeof(PROCESSOR_INFO) == 576);

// Only IOCTL_PROCESSOR_INFORMATION is served: it fills a PROCESSOR_INFO from the
// handheld's processor profile. A buffer too small gives ERROR_INSUFFICIENT_BUFFER,
// any other code ERROR_NOT_SUPPORTED.
BOOL KernelIoControl(DWORD ioControlCode, LPVOID inBuffer, DWORD inSize, LPVOID outBuffer, DWORD outSize,
                     DWORD* bytesReturned);

union LARGE_INTEGER {
    struct {
        DWORD LowPart;
        LONG HighPart;
    } u;
    std::int64_t QuadPart = 0;
};

// The high-resolution counter runs on the SoC's virtual clock (see Thread.h: Sleep),
// at the rate of the profile's performance counter.
BOOL QueryPerformanceCounter(LARGE_INTEGER* count);
BOOL QueryPerformanceFrequency(LARGE_INTEGER* frequency);

}  // namespace ce
