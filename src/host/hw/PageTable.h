#pragma once
// The register pages this process has reserved and mapped: reservations are real
// inaccessible address ranges (a stray dereference faults instead of reading garbage),
// and an access through the register accessors is routed to the block mapped there.

#include <cstdint>
#include <vector>

#include "sim/RegisterBlock.h"

namespace host::hw {

class Machine;

struct MappedPage {
    std::uintptr_t base = 0;
    std::size_t bytes = 0;
    sim::RegisterBlock* block = nullptr;  // null while only reserved
    Machine* machine = nullptr;
    bool writable = false;
};

class PageTable {
public:
    static PageTable& instance();

    void* reserve(std::size_t bytes);
    bool map(void* base, sim::RegisterBlock& block, Machine& machine, bool writable);
    bool release(void* base);
    // The mapping holding `address`, with the offset into its register block.
    const MappedPage* find(const volatile void* address, std::uint32_t* offset) const;

private:
    std::vector<MappedPage> pages_;
};

}  // namespace host::hw
