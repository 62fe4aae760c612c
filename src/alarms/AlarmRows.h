#pragma once
// What the alarm-list refresh needs of the list: its rows' alarm file names (without
// folder) and a way to set a row's active flag.

#include <cstddef>
#include <string>

class AlarmRows {
public:
    AlarmRows() = default;
    AlarmRows(const AlarmRows&) = delete;
    AlarmRows& operator=(const AlarmRows&) = delete;
    virtual ~AlarmRows() = default;

    virtual std::size_t RowCount() const = 0;
    virtual std::u16string RowFileName(std::size_t row) const = 0;
    virtual void SetRowActive(std::size_t row, bool active) = 0;
};
