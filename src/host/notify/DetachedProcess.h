#pragma once
// Starts a program as a process of its own session, no child of the caller, with its
// standard streams on /dev/null and none of the caller's files: a service outlives the
// program that started it and holds nothing of it (no pipe a test reads, no lock).

#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace host {

class DetachedProcess {
public:
    // `environment`: NAME=VALUE entries that replace or add to the caller's.
    static bool start(const std::filesystem::path& program, const std::vector<std::string>& environment,
                      std::string* failure);
};

}  // namespace host
