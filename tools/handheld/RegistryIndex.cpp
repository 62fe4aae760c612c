#include "RegistryIndex.h"

#include <mutex>

#include "host/registry/RegistryHandles.h"
#include "host/registry/RegistryStore.h"

namespace handheld {

std::optional<std::int64_t> RegistryIndex::count(const char* sql) {
    host::Statement statement(database_.handle(), sql);
    if (!statement.ok() || statement.step() != SQLITE_ROW) return std::nullopt;
    return statement.column_int(0);
}

std::optional<RegistryIndex::Counts> RegistryIndex::counts() {
    std::lock_guard guard(database_.lock());
    const auto keys = count("SELECT count(*) FROM reg_keys WHERE parent IS NOT NULL");
    const auto values = count("SELECT count(*) FROM reg_values");
    if (!keys || !values) return std::nullopt;
    return Counts{*keys, *values};
}

ce::LONG RegistryIndex::values(const RegistryPath& path, std::vector<NamedValue>& values) {
    host::RegistryStore store(database_);
    const std::int64_t root = path.root() == ce::HKEY_LOCAL_MACHINE ? host::RegistryHandles::kLocalMachineId
                                                                     : host::RegistryHandles::kCurrentUserId;
    std::int64_t key = 0;
    if (const ce::LONG result = store.open(root, path.components(), &key); result != ce::ERROR_SUCCESS)
        return result;
    std::vector<host::RegistryStore::Value> stored;
    if (const ce::LONG result = store.values(key, &stored); result != ce::ERROR_SUCCESS) return result;
    values.clear();
    for (auto& value : stored)
        values.push_back({std::move(value.name), RegistryValue::from_data(value.type, std::move(value.data))});
    return ce::ERROR_SUCCESS;
}

}  // namespace handheld
