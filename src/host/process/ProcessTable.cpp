#include "host/process/ProcessTable.h"

#include <unistd.h>

#include "ce/Process.h"
#include "ce/Text.h"
#include "host/shell/ProgramPath.h"
#include "host/window/MessagePort.h"

namespace host {

namespace {

ProcessRecord record_of(const Statement& row) {
    ProcessRecord record;
    record.identity.pid = static_cast<pid_t>(row.column_int(0));
    record.identity.started = static_cast<std::uint64_t>(row.column_int(1));
    record.program = ce::utf16_from_utf8(row.column_text(2));
    record.command_line = ce::utf16_from_utf8(row.column_text(3));
    return record;
}

}  // namespace

bool ProcessTable::add(const ProcessRecord& record) {
    RuntimeWrite write(db_);
    Statement insert(db_.handle(),
                     "INSERT OR REPLACE INTO processes (pid, started, program, command_line) VALUES (?1, ?2, ?3, ?4)");
    insert.bind(1, std::int64_t{record.identity.pid})
        .bind(2, static_cast<std::int64_t>(record.identity.started))
        .bind(3, ce::utf8_from_utf16(record.program))
        .bind(4, ce::utf8_from_utf16(record.command_line));
    return insert.run();
}

bool ProcessTable::add_self() {
    const ProcessIdentity self = ProcessIdentity::self();
    if (const auto known = find(self.pid); known && known->identity == self) return true;
    return add(ProcessRecord{self, ProgramPath::current(), ce::GetCommandLineW()});
}

std::optional<ProcessRecord> ProcessTable::find(pid_t pid) {
    std::optional<ProcessRecord> record;
    {
        std::lock_guard guard(db_.lock());
        Statement query(db_.handle(), "SELECT pid, started, program, command_line FROM processes WHERE pid = ?1");
        query.bind(1, std::int64_t{pid});
        if (query.step() == SQLITE_ROW) record = record_of(query);
    }
    if (record && !record->identity.alive()) {
        forget(record->identity);
        record.reset();
    }
    return record;
}

std::vector<ProcessRecord> ProcessTable::running() {
    std::vector<ProcessRecord> records;
    {
        std::lock_guard guard(db_.lock());
        Statement query(db_.handle(), "SELECT pid, started, program, command_line FROM processes ORDER BY pid");
        while (query.step() == SQLITE_ROW) records.push_back(record_of(query));
    }
    std::erase_if(records, [&](const ProcessRecord& record) {
        if (record.identity.alive()) return false;
        forget(record.identity);
        return true;
    });
    return records;
}

void ProcessTable::forget(const ProcessIdentity& identity) {
    RuntimeWrite write(db_);
    // Only that process's row: a new process with the same id may have replaced it meanwhile.
    Statement erase(db_.handle(), "DELETE FROM processes WHERE pid = ?1 AND started = ?2");
    erase.bind(1, std::int64_t{identity.pid}).bind(2, static_cast<std::int64_t>(identity.started));
    erase.run();
    // A process that was killed left its message socket; one that took its id since owns it.
    if (!ProcessIdentity::of(identity.pid)) unlink(MessagePort::socket_of(identity.pid).c_str());
}

}  // namespace host
