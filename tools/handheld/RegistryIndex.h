#pragma once
// What the registry calls do not offer but a person inspecting a handheld wants: how
// big the registry is and every value a key holds.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "RegistryPath.h"
#include "RegistryValue.h"
#include "host/Database.h"

namespace handheld {

class RegistryIndex {
public:
    explicit RegistryIndex(host::Database& database) : database_(database) {}

    struct Counts {
        std::int64_t keys = 0;  // not counting the two roots
        std::int64_t values = 0;
    };
    std::optional<Counts> counts();

    struct NamedValue {
        std::u16string name;  // empty: the default value
        RegistryValue value;
    };
    // The key's values in the order they were first set; ERROR_SUCCESS or the
    // registry's code (ERROR_FILE_NOT_FOUND when there is no such key).
    ce::LONG values(const RegistryPath& path, std::vector<NamedValue>& values);

private:
    std::optional<std::int64_t> count(const char* sql);

    host::Database& database_;
};

}  // namespace handheld
