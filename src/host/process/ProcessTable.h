#pragma once
// The handheld's running programs as rows of device.db: which process runs which
// program file (its device path) with which command line. The starter records a
// program as it starts it, and a program started some other way records itself when
// it makes its first top-level window, so every program that can be found by a window
// can be asked for its program path. Rows of ended processes are dropped as they are met.

#include <optional>
#include <string>
#include <vector>

#include "host/Database.h"
#include "host/process/ProcessIdentity.h"

namespace host {

struct ProcessRecord {
    ProcessIdentity identity;
    std::u16string program;
    std::u16string command_line;
};

class ProcessTable {
public:
    explicit ProcessTable(Database& database) : db_(database) {}

    // Replaces whatever an earlier process with the same id left.
    bool add(const ProcessRecord& record);
    // Records the calling process under its own program path, unless it already is.
    bool add_self();
    // The running process with that id; nothing when it is not known or has ended.
    std::optional<ProcessRecord> find(pid_t pid);
    // Every running program, in process id order.
    std::vector<ProcessRecord> running();

private:
    void forget(const ProcessIdentity& identity);

    Database& db_;
};

}  // namespace host
