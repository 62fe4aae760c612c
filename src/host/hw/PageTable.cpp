#include "host/hw/PageTable.h"

#include <sys/mman.h>

#include <algorithm>

#include "host/hw/Machine.h"

namespace host::hw {

PageTable& PageTable::instance() {
    static PageTable table;
    return table;
}

void* PageTable::reserve(std::size_t bytes) {
    const std::size_t rounded = (bytes + sim::RegisterBlock::kPageBytes - 1) & ~std::size_t{sim::RegisterBlock::kPageBytes - 1};
    void* base = ::mmap(nullptr, rounded, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
    if (base == MAP_FAILED) return nullptr;
    pages_.push_back({reinterpret_cast<std::uintptr_t>(base), rounded, nullptr, nullptr, false});
    return base;
}

bool PageTable::map(void* base, sim::RegisterBlock& block, Machine& machine, bool writable) {
    const auto found = std::find_if(pages_.begin(), pages_.end(),
                                    [&](const MappedPage& p) { return p.base == reinterpret_cast<std::uintptr_t>(base); });
    if (found == pages_.end()) return false;
    if (found->block != nullptr) found->machine->page_released();
    machine.page_mapped();
    found->block = &block;
    found->machine = &machine;
    found->writable = writable;
    return true;
}

bool PageTable::release(void* base) {
    const auto found = std::find_if(pages_.begin(), pages_.end(),
                                    [&](const MappedPage& p) { return p.base == reinterpret_cast<std::uintptr_t>(base); });
    if (found == pages_.end()) return false;
    if (found->block != nullptr) found->machine->page_released();
    ::munmap(base, found->bytes);
    pages_.erase(found);
    return true;
}

const MappedPage* PageTable::find(const volatile void* address, std::uint32_t* offset) const {
    const auto at = reinterpret_cast<std::uintptr_t>(address);
    for (const MappedPage& page : pages_) {
        if (at >= page.base && at < page.base + page.bytes && page.block != nullptr) {
            *offset = static_cast<std::uint32_t>(at - page.base) % sim::RegisterBlock::kPageBytes;
            return &page;
        }
    }
    return nullptr;
}

}  // namespace host::hw
