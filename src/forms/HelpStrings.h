#pragma once
// The help texts of the main program's forms, by their string numbers.

#include <string>

class HelpStrings {
public:
    // Empty for a number the program has no text for.
    static std::u16string Text(int id);
};
