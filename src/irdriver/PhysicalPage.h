#pragma once
// Physical register blocks reached through one 4 KB page each: reserved with no access,
// then mapped read-write and uncached. A block that cannot be mapped stays unmapped (a
// null page), which the engines report as a missing block instead of touching it.

#include <cstdint>

#include "ce/Memory.h"

class PhysicalPage {
public:
    // Read-write, uncached, physical (0x604); an unmapped page when either step fails.
    static ce::RegisterPage Map(std::uint32_t physical);
    // Releases the reservation and clears the page; an unmapped page is left alone.
    static void Release(ce::RegisterPage& page);
    // One register read through a read-only mapping of its page, released at once;
    // 0 when the page cannot be mapped. width is 8, 16 or 32.
    static std::uint32_t ReadOnce(std::uint32_t physical, unsigned width);

private:
    static ce::RegisterPage MapWith(std::uint32_t pageAddress, ce::DWORD protect);
};
