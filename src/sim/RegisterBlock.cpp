#include "sim/RegisterBlock.h"

#include <algorithm>

#include "sim/Soc.h"

namespace sim {

namespace {

std::uint32_t lane_mask(std::uint32_t offset, unsigned width) {
    const std::uint32_t bits = width >= 32 ? 0xFFFFFFFFu : ((1u << width) - 1u);
    return bits << ((offset % 4) * 8);
}

}  // namespace

RegisterBlock::RegisterBlock(Soc& soc, std::string name, std::uint32_t physical)
    : soc_(soc), name_(std::move(name)), physical_(physical) {}

std::uint32_t RegisterBlock::read(std::uint32_t offset, unsigned width) {
    const std::uint32_t value = read_register(offset & ~3u);
    return (value & lane_mask(offset, width)) >> ((offset % 4) * 8);
}

void RegisterBlock::write(std::uint32_t offset, unsigned width, std::uint32_t value) {
    const std::uint32_t shift = (offset % 4) * 8;
    write_register(offset & ~3u, value << shift, lane_mask(offset, width));
}

void RegisterBlock::journal_register(std::uint32_t offset, std::string name) {
    journaled_.emplace_back(offset, std::move(name));
}

void RegisterBlock::store(std::uint32_t offset, std::uint32_t value) {
    std::uint32_t& word = words_[(offset % kPageBytes) / 4];
    if (word != value && !journaled_.empty()) {
        const auto found = std::find_if(journaled_.begin(), journaled_.end(),
                                        [&](const auto& entry) { return entry.first == offset; });
        if (found != journaled_.end()) soc_.journal().record(found->second, word, value, now());
    }
    word = value;
}

std::int64_t RegisterBlock::now() const { return soc_.clock().now(); }

}  // namespace sim
