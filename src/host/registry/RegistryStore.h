#pragma once
// The registry as rows of device.db: reg_keys (a tree under the two roots) and reg_values.
// Every operation checks, in the same transaction as its work, that the key still exists,
// because another process may delete it at any moment. Results are registry error codes.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "ce/Types.h"
#include "host/Database.h"

namespace host {

class RegistryStore {
public:
    struct Value {
        std::u16string name;
        ce::DWORD type = 0;
        std::vector<std::uint8_t> data;
    };

    explicit RegistryStore(Database& database) : db_(database) {}

    // Follows `path` down from `from`: ERROR_BADKEY when `from` is gone,
    // ERROR_FILE_NOT_FOUND when a component is missing.
    ce::LONG open(std::int64_t from, const std::vector<std::u16string>& path, std::int64_t* id);
    // As open, creating the missing components with the given spelling.
    ce::LONG create(std::int64_t from, const std::vector<std::u16string>& path, std::int64_t* id, bool* created);
    // The name of the index-th subkey in creation order; ERROR_NO_MORE_ITEMS past the last.
    ce::LONG subkey(std::int64_t key, ce::DWORD index, std::u16string* name);
    // Refuses the roots and keys with subkeys (ERROR_ACCESS_DENIED).
    ce::LONG delete_key(std::int64_t key);

    ce::LONG read_value(std::int64_t key, std::u16string_view name, Value* value);
    // Replaces type and data of an existing value, keeping the spelling of its name.
    ce::LONG write_value(std::int64_t key, std::u16string_view name, ce::DWORD type, const std::uint8_t* data,
                         std::size_t bytes);
    ce::LONG delete_value(std::int64_t key, std::u16string_view name);
    // The key's values in the order they were first set.
    ce::LONG values(std::int64_t key, std::vector<Value>* values);

private:
    // ERROR_SUCCESS, ERROR_BADKEY or ERROR_CANTREAD.
    ce::LONG check_key(std::int64_t key);
    // ERROR_SUCCESS with *id, ERROR_FILE_NOT_FOUND or ERROR_CANTREAD.
    ce::LONG find_child(std::int64_t parent, std::u16string_view name, std::int64_t* id);
    ce::LONG insert_child(std::int64_t parent, std::u16string_view name, std::int64_t* id);
    ce::LONG walk(std::int64_t from, const std::vector<std::u16string>& path, bool create, std::int64_t* id,
                  bool* created);

    Database& db_;
};

}  // namespace host
