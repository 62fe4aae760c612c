#pragma once
// A counter's rate as an exact fraction of hertz, so that a count derived from the
// virtual clock never drifts however long the clock runs (3.6864 MHz is not a whole
// number of nanoseconds per tick).

#include <cstdint>

namespace sim {

__extension__ typedef unsigned __int128 Wide;

class Rate {
public:
    constexpr Rate() = default;
    constexpr Rate(std::uint64_t numerator_hz, std::uint64_t denominator = 1)
        : numerator_(numerator_hz),
          denominator_(denominator == 0 ? 1 : denominator),
          scale_(denominator_ <= UINT64_MAX / 1'000'000'000u ? denominator_ * 1'000'000'000u : 0) {}

    bool running() const { return numerator_ != 0; }
    // Whole ticks elapsed in `ns` nanoseconds.
    std::uint64_t ticks_in(std::int64_t ns) const {
        if (ns <= 0 || numerator_ == 0) return 0;
        // 64-bit arithmetic while it cannot overflow (runs of an hour or so): the counters
        // are read millions of times per simulated second.
        std::uint64_t product = 0;
        if (!__builtin_mul_overflow(static_cast<std::uint64_t>(ns), numerator_, &product) && scale_ != 0)
            return product / scale_;
        return static_cast<std::uint64_t>(Wide(static_cast<std::uint64_t>(ns)) * numerator_ /
                                          (Wide(denominator_) * 1'000'000'000u));
    }
    // The first nanosecond at which `ticks` whole ticks have elapsed.
    std::int64_t ns_for(std::uint64_t ticks) const {
        if (numerator_ == 0) return INT64_MAX;
        std::uint64_t scaled64 = 0;
        if (scale_ != 0 && !__builtin_mul_overflow(ticks, scale_, &scaled64) && scaled64 <= UINT64_MAX - numerator_)
            return static_cast<std::int64_t>((scaled64 + numerator_ - 1) / numerator_);
        const Wide scaled = Wide(ticks) * denominator_ * 1'000'000'000u;
        return static_cast<std::int64_t>((scaled + numerator_ - 1) / numerator_);
    }
    double hz() const { return static_cast<double>(numerator_) / static_cast<double>(denominator_); }

private:
    std::uint64_t numerator_ = 0;
    std::uint64_t denominator_ = 1;
    std::uint64_t scale_ = 1'000'000'000u;  // denominator × 1e9 when it fits, else 0
};

}  // namespace sim
