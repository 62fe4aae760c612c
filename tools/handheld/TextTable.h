#pragma once
// Rows printed as columns two spaces apart, each column as wide as its widest cell, the
// way the tool lists what a person reads down (registrations, running programs).

#include <ostream>
#include <string>
#include <vector>

namespace handheld {

class TextTable {
public:
    explicit TextTable(std::vector<std::string> header) { rows_.push_back(std::move(header)); }

    // Cells beyond the header's count are dropped; missing ones are empty.
    void add(std::vector<std::string> row);
    void print(std::ostream& out) const;

private:
    std::vector<std::vector<std::string>> rows_;
};

}  // namespace handheld
