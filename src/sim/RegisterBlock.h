#pragma once
// One 4 KB page of device registers. By default a register reads back what was last
// written (the drivers save and restore registers and must get their values back);
// a block model overrides the registers that do something. Accesses of 8 and 16 bits
// reach the byte lanes of the 32-bit register that holds them.

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace sim {

class Soc;

class RegisterBlock {
public:
    static constexpr std::uint32_t kPageBytes = 4096;
    static constexpr std::int64_t kNever = INT64_MAX;

    RegisterBlock(Soc& soc, std::string name, std::uint32_t physical);
    RegisterBlock(const RegisterBlock&) = delete;
    RegisterBlock& operator=(const RegisterBlock&) = delete;
    virtual ~RegisterBlock() = default;

    const std::string& name() const { return name_; }
    std::uint32_t physical() const { return physical_; }

    std::uint32_t read(std::uint32_t offset, unsigned width);
    void write(std::uint32_t offset, unsigned width, std::uint32_t value);

    // The earliest virtual time at which a read of `offset` may return something other
    // than it does now without any write; lets the SoC fast-forward an idle poll.
    virtual std::int64_t next_change(std::uint32_t /*offset*/) const { return kNever; }
    // A register that moves by one per tick, modulo its width: +1 up, -1 down, 0 for a
    // register that does not count steadily (stopped, one-shot, reload other than its
    // full range). Lets a wait on it skip whole ticks.
    struct Counting {
        int direction = 0;
        std::uint32_t mask = 0;
    };
    virtual Counting counting(std::uint32_t /*offset*/) const { return {}; }
    // For a counting register: the instant it will have moved by `ticks` from its value now.
    virtual std::int64_t tick_time(std::uint32_t /*offset*/, std::uint64_t /*ticks*/) const { return kNever; }
    // For a counting register: the ticks it makes from now up to and including `ns`.
    virtual std::uint64_t ticks_until(std::uint32_t /*offset*/, std::int64_t /*ns*/) const { return 0; }
    // Brings time-driven output (a shifting UART) up to the current virtual time.
    virtual void advance() {}
    // The platform serial driver's SETIR / CLRIR, for UART blocks.
    virtual void set_infrared(bool /*on*/) {}

    // Registers whose changes are journaled (interrupt masks, pin functions, ...).
    void journal_register(std::uint32_t offset, std::string name);
    // Sets a register without side effects or journaling (boot state, tests).
    void preset(std::uint32_t offset, std::uint32_t value) { words_[(offset % kPageBytes) / 4] = value; }

protected:
    // `offset` is 32-bit aligned; `lanes` has the bits of the bytes being written.
    virtual std::uint32_t read_register(std::uint32_t offset) { return stored(offset); }
    virtual void write_register(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) {
        store(offset, merged(offset, value, lanes));
    }

    std::uint32_t stored(std::uint32_t offset) const { return words_[(offset % kPageBytes) / 4]; }
    void store(std::uint32_t offset, std::uint32_t value);
    std::uint32_t merged(std::uint32_t offset, std::uint32_t value, std::uint32_t lanes) const {
        return (stored(offset) & ~lanes) | (value & lanes);
    }
    std::int64_t now() const;
    Soc& soc() const { return soc_; }

private:
    Soc& soc_;
    std::string name_;
    std::uint32_t physical_;
    std::array<std::uint32_t, kPageBytes / 4> words_{};
    std::vector<std::pair<std::uint32_t, std::string>> journaled_;
};

}  // namespace sim
