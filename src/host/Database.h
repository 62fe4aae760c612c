#pragma once
// A thin, result-code wrapper over one SQLite connection to the handheld's device.db.

#include <sqlite3.h>

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/ChangeCounter.h"

namespace host {

class Statement {
public:
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool ok() const { return statement_ != nullptr; }

    Statement& bind(int index, std::int64_t value);
    Statement& bind(int index, std::string_view text);
    Statement& bind_blob(int index, const void* data, std::size_t bytes);
    Statement& bind_null(int index);

    // SQLITE_ROW, SQLITE_DONE or an error code.
    int step();
    // Steps to completion; true when every step succeeded.
    bool run();

    std::int64_t column_int(int column) const;
    std::string column_text(int column) const;
    std::vector<std::uint8_t> column_blob(int column) const;
    bool column_is_null(int column) const;

private:
    friend class Database;
    // A statement the connection keeps (Database::kept): lent, reset and given back
    // rather than finalised.
    Statement(sqlite3_stmt* kept, bool* lent);

    sqlite3_stmt* statement_ = nullptr;
    bool* lent_ = nullptr;
};

class Database {
public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens (creating) the file in WAL mode and makes sure every table exists.
    // `setting_changes`: the counter file by which the handheld's processes tell each
    // other that a setting changed (none: settings are read afresh every time).
    bool open(const std::string& path, const std::filesystem::path& setting_changes = {});
    bool is_open() const { return db_ != nullptr; }
    // Why the last open failed, in words.
    const std::string& failure() const { return failure_; }
    // After a transaction of this connection failed: the errno of the disk's trouble
    // behind it (ENOSPC for a full disk, EIO, ...), 0 when it failed for another reason;
    // 0 again once one has been committed.
    int disk_trouble() const { return disk_trouble_; }

    sqlite3* handle() const { return db_; }
    // One connection is shared by the threads of a process; holders of this lock
    // run their statements (and transactions) without interleaving.
    std::recursive_mutex& lock() { return lock_; }

    bool exec(std::string_view sql);
    // The statement for `sql` prepared once for the life of the connection, for queries
    // a busy path runs on every call (the clock settings, file attributes kept here).
    // Hold lock() while it lives; should it be in use already, a fresh one is prepared.
    Statement kept(std::string_view sql);
    // Whether a transaction of this connection is open (hold lock() to ask).
    bool in_transaction() const { return db_ != nullptr && sqlite3_get_autocommit(db_) == 0; }
    std::int64_t last_insert_rowid() const;
    int changes() const;

    // Device-wide settings (clock offset, time zone, profile, ...). They are read for
    // every clock call, so a process keeps what it read until any process changes a
    // setting (the change counter tells).
    std::optional<std::string> setting(std::string_view name);
    bool set_setting(std::string_view name, std::string_view value);

private:
    friend class Transaction;
    bool create_schema();
    bool add_missing_columns();
    // A setting was written: others learn it once the write is committed.
    void setting_written();
    void transaction_ended();
    // Keeps what made the last statement fail, when it was the disk.
    void note_failure();

    struct KeptStatement {
        sqlite3_stmt* statement;
        bool lent;
    };

    sqlite3* db_ = nullptr;
    std::string failure_;
    int disk_trouble_ = 0;
    std::recursive_mutex lock_;
    std::map<std::string, KeptStatement, std::less<>> kept_;
    ChangeCounter setting_changes_;
    // Guarded by lock_: the settings read since the counter last stood at settings_seen_.
    std::map<std::string, std::optional<std::string>, std::less<>> settings_;
    std::optional<std::uint64_t> settings_seen_;
    bool setting_change_pending_ = false;  // written inside a transaction not yet ended
};

// Writes of rows that describe only the running programs (processes, windows, which
// window is in front): a power cut ends those programs too, so these commits need not
// wait for the disk, and a reminder coming to the front waits for no sync. The WAL
// keeps them in order, and the next commit that does wait makes them durable with it.
// Inside a transaction the transaction's own commit decides.
class RuntimeWrite {
public:
    explicit RuntimeWrite(Database& db);
    ~RuntimeWrite();
    RuntimeWrite(const RuntimeWrite&) = delete;
    RuntimeWrite& operator=(const RuntimeWrite&) = delete;

private:
    Database& db_;
    std::lock_guard<std::recursive_mutex> guard_;
    bool relaxed_ = false;
};

// BEGIN IMMEDIATE ... COMMIT, rolled back when not committed.
class Transaction {
public:
    explicit Transaction(Database& db);
    ~Transaction();
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool ok() const { return begun_; }
    bool commit();

private:
    Database& db_;
    std::lock_guard<std::recursive_mutex> guard_;
    bool begun_ = false;
    bool done_ = false;
};

}  // namespace host
