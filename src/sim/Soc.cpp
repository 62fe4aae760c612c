#include "sim/Soc.h"

#include <algorithm>

#include "sim/omap/Omap1510Board.h"
#include "sim/omap/Omap850Board.h"
#include "sim/pxa/PxaBoard.h"
#include "sim/s3c/S3cBoard.h"
#include "sim/sa11x0/Sa11x0Board.h"

namespace sim {

Soc::Soc(const Profile& profile) : profile_(profile) {
    switch (profile.family) {
        case Family::sa11x0: Sa11x0Board::build(*this); break;
        case Family::pxa25x:
        case Family::pxa27x: PxaBoard::build(*this); break;
        case Family::s3c24xx: S3cBoard::build(*this); break;
        case Family::omap1510: Omap1510Board::build(*this); break;
        case Family::omap850: Omap850Board::build(*this); break;
    }
    if (profile.ir_at_boot && uart(profile.ir_uart) != nullptr) uart(profile.ir_uart)->set_infrared(true);
    // The boot state is the baseline: only what the drivers change afterwards counts.
    journal_.clear();
}

Soc::~Soc() = default;

RegisterBlock& Soc::add(std::unique_ptr<RegisterBlock> block) {
    blocks_.push_back(std::move(block));
    time_driven_.push_back(blocks_.back().get());
    return *blocks_.back();
}

void Soc::set_uart(int index, RegisterBlock& block) {
    if (index >= 1 && index <= 3) uarts_[static_cast<std::size_t>(index)] = &block;
}

RegisterBlock* Soc::block_at(std::uint32_t physical) const {
    const std::uint32_t page = physical & ~(RegisterBlock::kPageBytes - 1);
    const auto found = std::find_if(blocks_.begin(), blocks_.end(), [&](const auto& b) { return b->physical() == page; });
    return found == blocks_.end() ? nullptr : found->get();
}

std::vector<std::uint32_t> Soc::pages() const {
    std::vector<std::uint32_t> pages;
    for (const auto& block : blocks_) pages.push_back(block->physical());
    std::sort(pages.begin(), pages.end());
    return pages;
}

RegisterBlock* Soc::uart(int index) const {
    return index >= 1 && index <= 3 ? uarts_[static_cast<std::size_t>(index)] : nullptr;
}

std::uint32_t Soc::read(RegisterBlock& block, std::uint32_t offset, unsigned width) {
    clock_.advance(VirtualClock::kAccessCostNs);
    return polled_read(block, offset % RegisterBlock::kPageBytes, width);
}

void Soc::write(RegisterBlock& block, std::uint32_t offset, unsigned width, std::uint32_t value) {
    clock_.advance(VirtualClock::kAccessCostNs);
    poll_count_ = 0;
    block.write(offset % RegisterBlock::kPageBytes, width, value);
}

// A read that returns what the same register returned last time, with no write in
// between, is part of an idle poll: nothing the program can see changes until one of
// the registers it has been polling can change, so the clock skips straight there.
std::uint32_t Soc::polled_read(RegisterBlock& block, std::uint32_t offset, unsigned width) {
    landed_on_ = -1;
    std::uint32_t value = block.read(offset, width);
    const auto end = polls_.begin() + static_cast<std::ptrdiff_t>(poll_count_);
    auto found = std::find_if(polls_.begin(), end, [&](const Poll& p) { return p.block == &block && p.offset == offset; });
    if (found != end && found->value == value) {
        std::int64_t wake = RegisterBlock::kNever;
        int source = -1;
        for (auto poll = polls_.begin(); poll != end; ++poll) {
            const std::int64_t change = poll->block->next_change(poll->offset);
            if (change < wake) {
                wake = change;
                source = static_cast<int>(poll - polls_.begin());
            }
        }
        if (wake != RegisterBlock::kNever && wake > clock_.now()) {
            clock_.advance_to(wake);
            value = block.read(offset, width);
            landed_on_ = source;
        }
    }
    if (found != end) {
        found->value = value;
    } else if (poll_count_ < polls_.size()) {
        polls_[poll_count_++] = {&block, offset, value};
    } else {
        poll_count_ = 0;
    }
    return value;
}

std::size_t Soc::wait(std::span<const WaitCondition> conditions, std::uint32_t* value, std::int64_t deadline) {
    for (;;) {
        for (std::size_t i = 0; i < conditions.size(); ++i) {
            const WaitCondition& condition = conditions[i];
            *value = read(*condition.block, condition.offset, 32);
            if (condition.holds(*value)) return i;
            if (landed_on_ >= 0) skip_ticks(conditions, deadline);
        }
        if (deadline == RegisterBlock::kNever) continue;
        // Nothing polled changes before the deadline: every read until then repeats.
        if (all_polled(conditions) && next_polled_change() >= deadline) clock_.advance_to(deadline);
        if (clock_.now() >= deadline) return conditions.size();
    }
}

// The loop has just landed on a tick of a steadily counting register. From here, until
// something else it polls changes or a condition on that counter comes near, every tick
// repeats the same reads at the same offsets from the tick: so the clock moves to a
// later tick at once, and the counter's last-read value moves with it. A few ticks are
// left before anything happens, to be read one by one as the loop would.
void Soc::skip_ticks(std::span<const WaitCondition> conditions, std::int64_t deadline) {
    constexpr std::uint64_t kTicksLeft = 3;
    Poll& landed = polls_[static_cast<std::size_t>(landed_on_)];
    const RegisterBlock::Counting counting = landed.block->counting(landed.offset);
    if (counting.direction == 0) return;
    // The reads of one round must fit inside a tick for the pattern to repeat (the clock
    // stands on a tick of the counter, so the next one is a tick away).
    const std::int64_t round_ns = VirtualClock::kAccessCostNs * static_cast<std::int64_t>(conditions.size() + 1);
    if (landed.block->tick_time(landed.offset, 1) - clock_.now() <= round_ns) return;

    if (!all_polled(conditions)) return;  // the poll is not established yet
    std::uint64_t ticks = UINT64_MAX;
    bool read_by_loop = false;
    for (const WaitCondition& condition : conditions) {
        if (condition.block == landed.block && condition.offset == landed.offset) {
            read_by_loop = true;
            ticks = std::min(ticks, condition.ticks_to_hold(landed.value & counting.mask, counting.direction));
        }
    }
    std::int64_t horizon = deadline;
    for (std::size_t p = 0; p < poll_count_; ++p)
        if (static_cast<int>(p) != landed_on_) horizon = std::min(horizon, polls_[p].block->next_change(polls_[p].offset));
    if (horizon != RegisterBlock::kNever)
        ticks = std::min(ticks, landed.block->ticks_until(landed.offset, horizon - 4 * round_ns));
    if (ticks == UINT64_MAX || ticks <= 2 * kTicksLeft) return;
    ticks -= kTicksLeft;
    clock_.advance_to(landed.block->tick_time(landed.offset, ticks));
    if (read_by_loop)
        landed.value = (landed.value + static_cast<std::uint32_t>(counting.direction) * static_cast<std::uint32_t>(ticks)) & counting.mask;
}

bool Soc::all_polled(std::span<const WaitCondition> conditions) const {
    const auto end = polls_.begin() + static_cast<std::ptrdiff_t>(poll_count_);
    return std::all_of(conditions.begin(), conditions.end(), [&](const WaitCondition& condition) {
        return std::any_of(polls_.begin(), end, [&](const Poll& p) { return p.block == condition.block && p.offset == condition.offset; });
    });
}

std::int64_t Soc::next_polled_change() const {
    std::int64_t change = RegisterBlock::kNever;
    for (std::size_t p = 0; p < poll_count_; ++p) change = std::min(change, polls_[p].block->next_change(polls_[p].offset));
    return change;
}

std::uint32_t Soc::read_physical(std::uint32_t physical, unsigned width) {
    RegisterBlock* block = block_at(physical);
    return block == nullptr ? 0 : read(*block, physical % RegisterBlock::kPageBytes, width);
}

void Soc::write_physical(std::uint32_t physical, unsigned width, std::uint32_t value) {
    if (RegisterBlock* block = block_at(physical)) write(*block, physical % RegisterBlock::kPageBytes, width, value);
}

void Soc::sleep_ms(std::uint32_t ms) {
    poll_count_ = 0;
    clock_.advance(static_cast<std::int64_t>(ms) * 1'000'000);
}

void Soc::advance_blocks() {
    for (RegisterBlock* block : time_driven_) block->advance();
}

void Soc::begin_transmission() {
    advance_blocks();
    line_.begin(clock_.now());
}

Transmission Soc::end_transmission() {
    advance_blocks();
    return line_.end(clock_.now());
}

}  // namespace sim
