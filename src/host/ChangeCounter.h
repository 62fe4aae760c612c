#pragma once
// A count of changes shared by every process of a handheld: a small file of run/ that
// each process maps. Whoever changes something others keep a copy of bumps it once the
// change is committed; a reader compares it with the count its copy was taken at, which
// costs no system call. A counter that could not be opened has no value, and readers
// then read afresh every time.

#include <cstdint>
#include <filesystem>
#include <optional>

namespace host {

class ChangeCounter {
public:
    ChangeCounter() = default;
    ~ChangeCounter();
    ChangeCounter(const ChangeCounter&) = delete;
    ChangeCounter& operator=(const ChangeCounter&) = delete;

    // Maps `file`, making it when missing; false when it cannot be used.
    bool open(const std::filesystem::path& file);
    std::optional<std::uint64_t> value() const;
    void bump();

private:
    std::uint64_t* count_ = nullptr;
};

}  // namespace host
