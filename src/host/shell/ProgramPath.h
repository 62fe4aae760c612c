#pragma once
// The device path a process of the handheld runs as. On the device it is where the
// installer put the program; here whoever starts a program says it through
// $KIVO_PROGRAM_PATH, and a program started by hand gets its install place from the
// name of its Linux executable.

#include <string>
#include <string_view>

namespace host {

class ProgramPath {
public:
    static constexpr const char* kVariable = "KIVO_PROGRAM_PATH";

    // $KIVO_PROGRAM_PATH when it holds a device path, else install_place(executable name).
    static std::u16string current();
    // "\Windows\kivowake.exe" for kivowake, "\Program Files\KIVO\NAME.exe" for any other.
    static std::u16string install_place(std::string_view executable_name);
};

}  // namespace host
