#pragma once
// The register pages one driver uses. A physical block is mapped once per process and
// shared by every holder; it is unmapped when its last holder goes, so releasing one
// driver never pulls a page from under another that still uses it.

#include <cstdint>
#include <memory>
#include <vector>

#include "ce/Memory.h"

class RegisterPages {
public:
    // The block's page, read-write and uncached; an unmapped page when it cannot be mapped.
    ce::RegisterPage Hold(std::uint32_t physical);

private:
    std::vector<std::shared_ptr<const ce::RegisterPage>> held_;
};
