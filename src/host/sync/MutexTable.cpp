#include "host/sync/MutexTable.h"

#include <algorithm>

namespace host {

MutexTable& MutexTable::instance() {
    static auto* table = new MutexTable;  // outlives static destructors that may still close handles
    return *table;
}

std::shared_ptr<MutexObject> MutexTable::open_named(const std::filesystem::path& file, bool owned,
                                                    const std::filesystem::path& reserve, bool* existed,
                                                    ce::DWORD* error) {
    std::lock_guard guard(lock_);
    sweep();
    if (const auto found = named_.find(file); found != named_.end()) {
        ++found->second->handles;
        *existed = true;
        return found->second;
    }
    bool created = false;
    auto mapping = MutexMapping::open_shared(file, owned, reserve, &created, error);
    if (mapping == nullptr) return nullptr;
    auto object = std::make_shared<MutexObject>(std::move(mapping), owned && created);
    object->handles = 1;
    named_.emplace(file, object);
    *existed = !created;
    return object;
}

std::shared_ptr<MutexObject> MutexTable::open_private(bool owned, ce::DWORD* error) {
    auto mapping = MutexMapping::create_private(owned, error);
    if (mapping == nullptr) return nullptr;
    auto object = std::make_shared<MutexObject>(std::move(mapping), owned);
    object->handles = 1;
    std::lock_guard guard(lock_);
    sweep();
    return object;
}

void MutexTable::close(const std::shared_ptr<MutexObject>& object) {
    std::lock_guard guard(lock_);
    if (--object->handles > 0) return;
    object->mutex().release_all();
    const bool keep = object->mutex().held_by_live_thread();
    for (auto entry = named_.begin(); entry != named_.end(); ++entry) {
        if (entry->second != object) continue;
        if (!keep) named_.erase(entry);
        return;
    }
    if (keep) owned_private_.push_back(object);
}

void MutexTable::sweep() {
    const auto gone = [](const std::shared_ptr<MutexObject>& object) {
        return object->handles == 0 && !object->mutex().held_by_live_thread();
    };
    std::erase_if(named_, [&](const auto& entry) { return gone(entry.second); });
    std::erase_if(owned_private_, gone);
}

}  // namespace host
