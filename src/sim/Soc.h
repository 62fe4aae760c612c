#pragma once
// The simulated system-on-chip of one handheld profile, as one process sees it:
// its register pages, its virtual clock, the infrared LED line and the journal of
// settings the drivers changed. Every register access costs a little virtual time;
// a read that repeats an idle poll fast-forwards the clock to the moment one of the
// polled registers can next change, so busy-waits cost the host almost nothing while
// the virtual timing stays exact.

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "sim/Journal.h"
#include "sim/LineTrace.h"
#include "sim/Profile.h"
#include "sim/Receiver.h"
#include "sim/RegisterBlock.h"
#include "sim/VirtualClock.h"
#include "sim/WaitCondition.h"

namespace sim {

class Soc {
public:
    explicit Soc(const Profile& profile);
    Soc(const Soc&) = delete;
    Soc& operator=(const Soc&) = delete;
    ~Soc();

    const Profile& profile() const { return profile_; }
    VirtualClock& clock() { return clock_; }
    Journal& journal() { return journal_; }
    LineTrace& line() { return line_; }
    // The infrared receiver's output, which the family's receive register samples.
    Receiver& receiver() { return receiver_; }

    // The block whose page holds `physical`, or null where the bus has nothing.
    RegisterBlock* block_at(std::uint32_t physical) const;
    std::vector<std::uint32_t> pages() const;
    // The UART model a serial port's index names (1..3), or null.
    RegisterBlock* uart(int index) const;

    std::uint32_t read(RegisterBlock& block, std::uint32_t offset, unsigned width);
    void write(RegisterBlock& block, std::uint32_t offset, unsigned width, std::uint32_t value);
    // A busy-wait: reads the conditions' registers in turn, each read a normal access,
    // until one holds; returns its index and what was read. It ends at the same virtual
    // instant, with the same poll state, as the loop of reads would; but once that loop
    // has settled into landing on a counter's ticks, whole ticks in which nothing it
    // polls can change are skipped at once instead of being read one by one.
    // With a deadline (virtual ns), checked after every round of reads, it gives up there
    // and returns conditions.size().
    std::size_t wait(std::span<const WaitCondition> conditions, std::uint32_t* value,
                     std::int64_t deadline = RegisterBlock::kNever);
    // Convenience for tests and tools: physical address access.
    std::uint32_t read_physical(std::uint32_t physical, unsigned width);
    void write_physical(std::uint32_t physical, unsigned width, std::uint32_t value);

    void sleep_ms(std::uint32_t ms);
    // The LED as the transmit pin's owner drives it.
    void set_led(bool on, std::int64_t ns) { line_.set(on, ns); }

    void begin_transmission();
    Transmission end_transmission();

    // Used by the family builders.
    RegisterBlock& add(std::unique_ptr<RegisterBlock> block);
    void set_uart(int index, RegisterBlock& block);

private:
    struct Poll {
        RegisterBlock* block = nullptr;
        std::uint32_t offset = 0;
        std::uint32_t value = 0;
    };
    std::uint32_t polled_read(RegisterBlock& block, std::uint32_t offset, unsigned width);
    void skip_ticks(std::span<const WaitCondition> conditions, std::int64_t deadline);
    // Whether every condition's register is among the recent polls.
    bool all_polled(std::span<const WaitCondition> conditions) const;
    std::int64_t next_polled_change() const;
    void advance_blocks();

    const Profile& profile_;
    VirtualClock clock_;
    Journal journal_;
    LineTrace line_;
    Receiver receiver_;
    std::vector<std::unique_ptr<RegisterBlock>> blocks_;
    std::vector<RegisterBlock*> time_driven_;
    std::array<RegisterBlock*, 4> uarts_{};
    std::array<Poll, 4> polls_{};
    std::size_t poll_count_ = 0;
    // The poll whose change the last read's fast-forward landed on, or -1.
    int landed_on_ = -1;
};

}  // namespace sim
