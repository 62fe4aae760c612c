#pragma once
// A thin, result-code wrapper over one SQLite connection to the handheld's device.db.

#include <sqlite3.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

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
    sqlite3_stmt* statement_ = nullptr;
};

class Database {
public:
    Database() = default;
    ~Database();
    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Opens (creating) the file in WAL mode and makes sure every table exists.
    bool open(const std::string& path);
    bool is_open() const { return db_ != nullptr; }

    sqlite3* handle() const { return db_; }
    // One connection is shared by the threads of a process; holders of this lock
    // run their statements (and transactions) without interleaving.
    std::recursive_mutex& lock() { return lock_; }

    bool exec(std::string_view sql);
    std::int64_t last_insert_rowid() const;
    int changes() const;

    // Device-wide settings (clock offset, time zone, profile, ...).
    std::optional<std::string> setting(std::string_view name);
    bool set_setting(std::string_view name, std::string_view value);

private:
    bool create_schema();
    bool add_missing_columns();

    sqlite3* db_ = nullptr;
    std::recursive_mutex lock_;
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
