#include "irlib/card/codebase_writer.h"

#include "irlib/card/database_registry.h"
#include "irlib/card/header_values.h"
#include "irlib/card/result_codes.h"

namespace platform::card {

codebase_writer::~codebase_writer() { codebase_writer::close(); }

int codebase_writer::open(std::string_view name) { return open_as(name, open_mode::read_write); }

void codebase_writer::close() {
    built_record_.clear();
    built_record_.shrink_to_fit();
    codebase::close();
}

int codebase_writer::append_record(std::span<const std::uint8_t> bytes) {
    const int index = database_.append_record(bytes);
    if (index >= 0) build_indexes();
    return index;
}

bool codebase_writer::replace_record(int index, std::span<const std::uint8_t> bytes) {
    if (index < 0 || !database_.replace_record(static_cast<std::size_t>(index), bytes)) return false;
    // The new bytes may carry another name (or none): the indexes follow the contents.
    build_indexes();
    return true;
}

int codebase_writer::put_macro(std::string_view name, std::span<const std::uint8_t> bytes) {
    if (!is_open()) return kNotFound;
    if (const int existing = find_macro(name); existing >= 0)
        return replace_record(existing, bytes) ? kOk : kMalformed;
    return append_record(bytes) >= 0 ? kOk : kMalformed;
}

int codebase_writer::put_signal(std::string_view name, const signal_data& signal, bool replace) {
    if (!is_open()) return kNotFound;
    const int existing = find_signal(name);
    std::vector<std::uint8_t> built;
    const int result = existing >= 0 && !replace ? signal_record::add_part(record(existing), signal, built)
                                                 : signal_record::encode(name, signal, built);
    if (result != kOk) return result;
    built_record_ = std::move(built);
    if (existing >= 0) return replace_record(existing, built_record_) ? kOk : kMalformed;
    return append_record(built_record_) >= 0 ? kOk : kMalformed;
}

int codebase_writer::apply_version_rule() {
    if (!is_open() || database_.type() != kCodebaseType || database_.version() >= kCurrentVersion)
        return kVersionRuleNotApplicable;
    database_.set_version(kCurrentVersion);
    database_registry::instance().set_version(name_, kCurrentVersion);
    return kOk;
}

int codebase_writer::commit() {
    if (!is_open()) return kNotFound;
    apply_version_rule();  // "not applicable" is no failure of the commit
    return database_.save();
}

}  // namespace platform::card
