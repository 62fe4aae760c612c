#pragma once
// The HKEYs this process has open. An HKEY is only ever compared against this table
// (never dereferenced before it is found), so a stale or made-up key fails cleanly.

#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <unordered_map>

#include "ce/Registry.h"
#include "host/registry/RegistryKey.h"

namespace host {

class RegistryHandles {
public:
    // reg_keys ids of the two predefined roots.
    static constexpr std::int64_t kCurrentUserId = 1;
    static constexpr std::int64_t kLocalMachineId = 2;

    static RegistryHandles& instance();

    ce::HKEY open(std::int64_t id);
    // The key id behind an open handle or a predefined root; nothing for anything else.
    std::optional<std::int64_t> key_id(ce::HKEY key) const;
    // False for a handle that is not open; closing a predefined root is allowed and does nothing.
    bool close(ce::HKEY key);

private:
    mutable std::mutex lock_;
    std::unordered_map<std::uintptr_t, std::unique_ptr<ce::RegistryKey>> open_;
};

}  // namespace host
