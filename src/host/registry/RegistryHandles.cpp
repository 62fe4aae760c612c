#include "host/registry/RegistryHandles.h"

namespace host {

namespace {

std::uintptr_t address(ce::HKEY key) { return reinterpret_cast<std::uintptr_t>(key); }

}  // namespace

RegistryHandles& RegistryHandles::instance() {
    static auto* handles = new RegistryHandles;  // outlives static destructors that may still close keys
    return *handles;
}

ce::HKEY RegistryHandles::open(std::int64_t id) {
    auto key = std::make_unique<ce::RegistryKey>(id);
    ce::HKEY handle = key.get();
    std::lock_guard guard(lock_);
    open_.emplace(address(handle), std::move(key));
    return handle;
}

std::optional<std::int64_t> RegistryHandles::key_id(ce::HKEY key) const {
    if (key == ce::HKEY_CURRENT_USER) return kCurrentUserId;
    if (key == ce::HKEY_LOCAL_MACHINE) return kLocalMachineId;
    std::lock_guard guard(lock_);
    const auto found = open_.find(address(key));
    if (found == open_.end()) return std::nullopt;
    return found->second->id();
}

bool RegistryHandles::close(ce::HKEY key) {
    if (key == ce::HKEY_CURRENT_USER || key == ce::HKEY_LOCAL_MACHINE) return true;
    std::lock_guard guard(lock_);
    return open_.erase(address(key)) != 0;
}

}  // namespace host
