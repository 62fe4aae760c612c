#include "StandIn.h"

#include <chrono>
#include <fstream>
#include <thread>

namespace testing_support {

std::filesystem::path stand_in_program() { return KIVO_STANDIN_PATH; }

void install_stand_in(const std::filesystem::path& device_root, const std::string& device_path) {
    std::filesystem::path target = device_root / "fs";
    std::string component;
    for (const char c : device_path + "\\") {
        if (c != '\\') {
            component += c;
            continue;
        }
        if (!component.empty()) target /= component;
        component.clear();
    }
    std::filesystem::create_directories(target.parent_path());
    std::filesystem::copy_file(stand_in_program(), target, std::filesystem::copy_options::overwrite_existing);
    // As the tool installs a program: its owner's alone.
    std::filesystem::permissions(target, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
}

std::vector<std::string> log_lines(const std::filesystem::path& device_root, const std::string& name) {
    std::ifstream file(device_root / "log" / (name + ".log"));
    std::vector<std::string> lines;
    std::string line;
    while (std::getline(file, line)) {
        const auto stamp_end = line.find("] ");
        lines.push_back(stamp_end == std::string::npos ? line : line.substr(stamp_end + 2));
    }
    return lines;
}

std::vector<std::string> wait_for_log_lines(const std::filesystem::path& device_root, const std::string& name,
                                            std::size_t count) {
    const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    auto lines = log_lines(device_root, name);
    while (lines.size() < count && std::chrono::steady_clock::now() < until) {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        lines = log_lines(device_root, name);
    }
    return lines;
}

std::vector<std::string> stand_in_lines(const std::filesystem::path& device_root) {
    return log_lines(device_root, "standin");
}

std::vector<std::string> wait_for_stand_in_lines(const std::filesystem::path& device_root, std::size_t count) {
    return wait_for_log_lines(device_root, "standin", count);
}

}  // namespace testing_support
