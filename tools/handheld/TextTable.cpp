#include "TextTable.h"

#include <algorithm>

namespace handheld {

void TextTable::add(std::vector<std::string> row) {
    row.resize(rows_.front().size());
    rows_.push_back(std::move(row));
}

void TextTable::print(std::ostream& out) const {
    std::vector<std::size_t> width(rows_.front().size(), 0);
    for (const auto& row : rows_)
        for (std::size_t column = 0; column < row.size(); ++column)
            width[column] = std::max(width[column], row[column].size());
    for (const auto& row : rows_) {
        std::string line;
        for (std::size_t column = 0; column < row.size(); ++column) {
            line += row[column];
            if (column + 1 < row.size()) line += std::string(width[column] - row[column].size() + 2, ' ');
        }
        // A last column left empty leaves no spaces behind.
        line.erase(line.find_last_not_of(' ') + 1);
        out << line << '\n';
    }
}

}  // namespace handheld
