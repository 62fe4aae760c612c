#pragma once
// The stand-in program (StandInProgram.cpp) installed in a temporary handheld's image,
// and what the stand-ins started on it have written.

#include <filesystem>
#include <string>
#include <vector>

namespace testing_support {

// The stand-in's executable, for a test that builds a package of programs from it.
std::filesystem::path stand_in_program();

// Copies the stand-in into the device image at `device_path` ("\Windows\kivowake.exe"),
// an executable as the installer leaves it. The folders on the way are made.
void install_stand_in(const std::filesystem::path& device_root, const std::string& device_path);

// The lines of log/NAME.log without their time and process stamps.
std::vector<std::string> log_lines(const std::filesystem::path& device_root, const std::string& name);
// Waits until log/NAME.log holds at least `count` lines; the lines then.
std::vector<std::string> wait_for_log_lines(const std::filesystem::path& device_root, const std::string& name,
                                            std::size_t count);

// The lines of log/standin.log without their time and process stamps.
std::vector<std::string> stand_in_lines(const std::filesystem::path& device_root);
// Waits until log/standin.log holds at least `count` lines; the lines then.
std::vector<std::string> wait_for_stand_in_lines(const std::filesystem::path& device_root, std::size_t count);

}  // namespace testing_support
