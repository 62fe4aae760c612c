#include "irlib/meta/name_table.h"

namespace meta {

namespace {

constexpr std::size_t initial_room = 30;

}  // namespace

name_table::name_table() { names_.reserve(initial_room); }

std::uint16_t name_table::add(const char* name) {
    if (!name || names_.size() >= max_names) return 0;
    names_.push_back(std::make_unique<const std::string>(name));
    const auto index = static_cast<std::uint16_t>(names_.size());
    // A name added twice keeps answering lookups with its first index.
    indexes_.try_emplace(*names_.back(), index);
    return index;
}

std::uint16_t name_table::find(const char* name) const {
    if (!name) return 0;
    const auto found = indexes_.find(name);
    return found == indexes_.end() ? 0 : found->second;
}

const char* name_table::name(std::uint16_t index) const {
    if (index == 0 || index > names_.size()) return nullptr;
    return names_[index - 1]->c_str();
}

}  // namespace meta
