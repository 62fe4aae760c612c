#include "irlib/card/codebase.h"

#include "irlib/card/database_registry.h"
#include "irlib/card/header_values.h"
#include "irlib/card/record_kind.h"
#include "irlib/card/result_codes.h"

namespace platform::card {

codebase::~codebase() { codebase::close(); }

int codebase::open(std::string_view name) { return open_as(name, open_mode::read_only); }

void codebase::close() {
    signals_.clear();
    macros_.clear();
    database_.close();
    name_.clear();
}

int codebase::open_as(std::string_view name, open_mode mode) {
    close();
    const database_registry::entry* found = database_registry::instance().find(name);
    if (found == nullptr) return kNotFound;
    if (const int result = database_.open(found->path, mode); result != kOk) return result;
    if (database_.version() > kCurrentVersion) {
        database_.close();
        return kNewerVersion;
    }
    name_ = stored_name(name);
    build_indexes();
    return kOk;
}

void codebase::build_indexes() {
    signals_.clear();
    macros_.clear();
    for (std::size_t i = 1; i < database_.record_count(); ++i) {
        const auto bytes = database_.record(i);
        const auto name = record_name(bytes);
        if (!name) continue;
        name_index& index = classify_record(bytes) == record_kind::macro ? macros_ : signals_;
        index.emplace(*name, static_cast<int>(i));  // keeps the lower index of a name seen twice
    }
}

int codebase::lookup(const name_index& index, std::string_view name) {
    const auto found = index.find(name);
    return found == index.end() ? -1 : found->second;
}

std::vector<std::string> codebase::names_in(const name_index& index) {
    std::vector<std::string> names;
    for (const auto& entry : index) names.push_back(entry.first);
    return names;
}

int codebase::find_signal(std::string_view name) const { return lookup(signals_, name); }

int codebase::find_macro(std::string_view name) const { return lookup(macros_, name); }

int codebase::decode_signal(int index, int part) {
    // Record 0 is the application header: whatever its bytes, it is never a signal.
    if (index <= 0) return kNotSignal;
    return signal_record::decode(record(index), part, decoded_);
}

std::span<const std::uint8_t> codebase::record(int index) const {
    if (index < 0) return {};
    return database_.record(static_cast<std::size_t>(index));
}

}  // namespace platform::card
