#pragma once
// The snooze lengths the reminder offers, by their place in its list: the label the list
// and the form show, and the minutes Snooze waits. An alarm's replay interval picks the
// first choice; one the table does not hold picks 5 minutes.

#include <array>
#include <string_view>

class SnoozeTable {
public:
    static constexpr int kCount = 8;
    static constexpr int kDefaultIndex = 3;

    // Empty outside the table.
    static constexpr std::u16string_view Label(int index) { return InTable(index) ? kRows[index].label : u""; }
    // 5 minutes outside the table.
    static constexpr int Minutes(int index) { return InTable(index) ? kRows[index].minutes : 5; }
    static constexpr int IndexOf(int minutes) {
        for (int index = 0; index < kCount; ++index)
            if (kRows[index].minutes == minutes) return index;
        return kDefaultIndex;
    }

private:
    struct Row {
        std::u16string_view label;
        int minutes;
    };
    static constexpr std::array<Row, kCount> kRows{{{u"1 min", 1},
                                                    {u"2 min", 2},
                                                    {u"3 min", 3},
                                                    {u"5 min", 5},
                                                    {u"10 min", 10},
                                                    {u"15 min", 15},
                                                    {u"20 min", 20},
                                                    {u"30 min", 30}}};
    static constexpr bool InTable(int index) { return index >= 0 && index < kCount; }
};
