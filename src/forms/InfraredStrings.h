#pragma once
// The texts of the infrared forms in the main program's string table, by number: the
// help pages of Infrared Setup and the command list forms, the captions the forms
// switch between, the learning instructions, the name of an unnamed signal line and
// the question before a line is deleted.

#include <string_view>

class InfraredStrings {
public:
    static constexpr int IDS_HELP_COMMAND_LIST = 307;
    static constexpr int IDS_HELP_SIGNAL = 308;
    static constexpr int IDS_HELP_OPTIONS = 309;
    static constexpr int IDS_HELP_PAUSE = 310;
    static constexpr int IDS_HELP_PORT = 311;
    static constexpr int IDS_DELETE_COMMAND = 10000;
    static constexpr int IDS_ADD_SIGNAL = 15000;
    static constexpr int IDS_EDIT_SIGNAL = 15001;
    static constexpr int IDS_LEARN_INSTRUCTIONS = 15002;
    static constexpr int IDS_ADD_PAUSE = 15003;
    static constexpr int IDS_EDIT_PAUSE = 15004;
    // The pause line's pattern; "%.1f" is the length in seconds.
    static constexpr int IDS_PAUSE_LINE = 15005;
    static constexpr int IDS_SIGNAL_LINE = 15006;

    // Empty for a number the table does not hold.
    static std::u16string_view Get(int id);
};
