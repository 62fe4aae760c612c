#include "host/DatabaseCheck.h"

#include <sqlite3.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <system_error>

#include "host/fs/HostError.h"

namespace host {

namespace {

bool is_damage(int code) {
    const int primary = code & 0xFF;
    return primary == SQLITE_CORRUPT || primary == SQLITE_NOTADB;
}

std::string now_stamp() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y%m%d-%H%M%S", &local);
    return text;
}

// The check's verdict: "ok", or the first problem it names (with how many more).
DatabaseCheck::Finding checked(sqlite3* db, bool full) {
    sqlite3_stmt* query = nullptr;
    const char* sql = full ? "PRAGMA integrity_check(20)" : "PRAGMA quick_check(20)";
    int rc = sqlite3_prepare_v2(db, sql, -1, &query, nullptr);
    std::string first;
    int problems = 0;
    while (rc == SQLITE_OK || rc == SQLITE_ROW) {
        if ((rc = sqlite3_step(query)) != SQLITE_ROW) break;
        const auto* text = reinterpret_cast<const char*>(sqlite3_column_text(query, 0));
        const std::string line = text != nullptr ? text : "";
        // The first line names the database the problems that follow are in.
        if (line == "ok" || line.starts_with("*** in database")) continue;
        if (problems++ == 0) first = line;
    }
    if (rc == SQLITE_DONE) rc = SQLITE_OK;
    const std::string error = rc == SQLITE_OK ? "" : sqlite3_errmsg(db);
    sqlite3_finalize(query);
    if (rc != SQLITE_OK)
        return {is_damage(rc) ? DatabaseCheck::State::damaged : DatabaseCheck::State::unchecked, error};
    if (problems == 0) return {DatabaseCheck::State::sound, {}};
    return {DatabaseCheck::State::damaged,
            first + (problems > 1 ? " (and " + std::to_string(problems - 1) + " more problems)" : "")};
}

}  // namespace

DatabaseCheck::Finding DatabaseCheck::examine(const std::filesystem::path& database) {
    std::error_code error;
    const auto bytes = std::filesystem::file_size(database, error);
    if (error) {
        if (error == std::errc::no_such_file_or_directory) return {State::absent, {}};
        return {State::unchecked, HostError::in_words(error.value())};
    }
    // SQLite reads an empty file as an empty database; ours always holds its tables.
    if (bytes == 0) return {State::damaged, "the file is empty"};
    sqlite3* db = nullptr;
    // Read-write: a WAL left beside it is read (and recovered) as every later opener would.
    int rc = sqlite3_open_v2(database.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr);
    Finding finding;
    if (rc != SQLITE_OK) {
        finding = {is_damage(rc) ? State::damaged : State::unchecked, sqlite3_errstr(rc)};
    } else {
        sqlite3_busy_timeout(db, 10000);
        finding = checked(db, bytes <= kFullCheckBytes);
    }
    sqlite3_close_v2(db);
    return finding;
}

std::filesystem::path DatabaseCheck::keep_aside(const std::filesystem::path& database, std::string* failure) {
    const std::string stamp = now_stamp();
    std::filesystem::path aside = database.string() + ".damaged-" + stamp;
    std::error_code error;
    for (int again = 2; std::filesystem::exists(aside, error); ++again)
        aside = database.string() + ".damaged-" + stamp + "-" + std::to_string(again);
    if (std::rename(database.c_str(), aside.c_str()) != 0) {
        *failure = "cannot move " + database.string() + " aside: " + HostError::in_words(errno);
        return {};
    }
    const std::string wal = database.string() + "-wal";
    if (std::filesystem::exists(wal, error) && std::rename(wal.c_str(), (aside.string() + "-wal").c_str()) != 0) {
        *failure = "cannot move " + wal + " aside: " + HostError::in_words(errno);
        return {};
    }
    std::filesystem::remove(database.string() + "-shm", error);
    return aside;
}

}  // namespace host
