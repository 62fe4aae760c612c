#include "host/Database.h"

#include <cerrno>
#include <utility>

#include "host/ReserveVfs.h"
#include "host/fs/HostError.h"

namespace host {

namespace {

// FULL: a commit is on the disk before the caller hears it succeeded. NORMAL in WAL
// mode keeps the file sound but may lose the last commits to a power cut, and a lost
// commit may be the registration of the next alarm, which the program that made it
// believes made; the price is one sync of the WAL per commit (RuntimeWrite spares it
// where a power cut loses nothing).
constexpr const char* kDurableCommits = "PRAGMA synchronous=FULL";

// The tables of every service the handheld keeps in device.db.
constexpr const char* kSchema = R"sql(
CREATE TABLE IF NOT EXISTS settings (
    name  TEXT PRIMARY KEY,
    value TEXT NOT NULL
);
-- Registry keys: id 1 is HKEY_CURRENT_USER, id 2 HKEY_LOCAL_MACHINE; `folded` is the
-- case-folded name that lookups use, `name` the spelling it was created with. Ids are
-- never reused, so a handle to a deleted key cannot reach a key created after it, and
-- subkeys enumerate in creation order by id.
CREATE TABLE IF NOT EXISTS reg_keys (
    id     INTEGER PRIMARY KEY AUTOINCREMENT,
    parent INTEGER REFERENCES reg_keys(id),
    name   TEXT NOT NULL,
    folded TEXT NOT NULL,
    UNIQUE (parent, folded)
);
INSERT OR IGNORE INTO reg_keys (id, parent, name, folded) VALUES
    (1, NULL, 'HKEY_CURRENT_USER', 'hkey_current_user'),
    (2, NULL, 'HKEY_LOCAL_MACHINE', 'hkey_local_machine');
CREATE TABLE IF NOT EXISTS reg_values (
    key    INTEGER NOT NULL REFERENCES reg_keys(id) ON DELETE CASCADE,
    folded TEXT NOT NULL,
    name   TEXT NOT NULL,
    type   INTEGER NOT NULL,
    data   BLOB NOT NULL,
    PRIMARY KEY (key, folded)
);
-- File attributes by case-folded device path; a file without a row has only the
-- archive attribute (as any file newly put on the device).
CREATE TABLE IF NOT EXISTS file_attributes (
    path       TEXT PRIMARY KEY,
    attributes INTEGER NOT NULL
);
-- The notification database: per program at most one timed registration (event 0,
-- `time` its local time as "YYYY-MM-DD HH:MM:SS"; `second_reading` 1 when it is the second
-- time the clock reads that, in an hour the zone repeats) and one row per event it waits for.
-- `folded` is the case-folded device path, `application` the spelling registered.
CREATE TABLE IF NOT EXISTS notifications (
    id          INTEGER PRIMARY KEY AUTOINCREMENT,
    folded      TEXT NOT NULL,
    application TEXT NOT NULL,
    event       INTEGER NOT NULL,
    time        TEXT,
    second_reading INTEGER NOT NULL DEFAULT 0,
    UNIQUE (folded, event)
);
-- Timed registrations the notification service is starting: marked (with the time they
-- held) before the program is spawned, unmarked as the registration is removed once the
-- program has ended with exit code 0. A mark that outlived its service means the program
-- may not have run.
CREATE TABLE IF NOT EXISTS notification_starts (
    notification INTEGER PRIMARY KEY,
    time         TEXT NOT NULL
);
-- The clock (event 1) or time-zone (12) changes whose programs the notification service has
-- yet to start: recorded in the transaction of the change they announce, so that nobody
-- killed after it can leave it unannounced. `count` changes coalesce into one row; the
-- service sets `taken` as it takes them and removes the row once it started the programs
-- (a row left taken by a service that ended first is started by the next).
CREATE TABLE IF NOT EXISTS notification_events (
    event INTEGER NOT NULL,
    taken INTEGER NOT NULL DEFAULT 0,
    count INTEGER NOT NULL DEFAULT 1,
    PRIMARY KEY (event, taken)
);
-- The handheld's running programs: process id and start time (clock ticks since the host
-- booted, which tells a process from a later one with the same id), the device path of
-- its program file and its command line.
CREATE TABLE IF NOT EXISTS processes (
    pid          INTEGER PRIMARY KEY,
    started      INTEGER NOT NULL,
    program      TEXT NOT NULL,
    command_line TEXT NOT NULL
);
-- The handheld's top-level windows: the handle (the owner's process id in its high half),
-- class and title, the owning process (id and start time, as in `processes`) and
-- thread, `made`, which orders them newest first, and `topmost` (1: in front of every
-- window that is not).
CREATE TABLE IF NOT EXISTS windows (
    handle  INTEGER PRIMARY KEY,
    class   TEXT NOT NULL,
    title   TEXT NOT NULL,
    pid     INTEGER NOT NULL,
    started INTEGER NOT NULL,
    thread  INTEGER NOT NULL,
    made    INTEGER NOT NULL,
    topmost INTEGER NOT NULL DEFAULT 0
);
)sql";

}  // namespace

Statement::Statement(sqlite3* db, std::string_view sql) {
    if (db == nullptr ||
        sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &statement_, nullptr) != SQLITE_OK) {
        sqlite3_finalize(statement_);
        statement_ = nullptr;
    }
}

Statement::Statement(sqlite3_stmt* kept, bool* lent) : statement_(kept), lent_(lent) { *lent_ = true; }

Statement::~Statement() {
    if (lent_ == nullptr) {
        sqlite3_finalize(statement_);
        return;
    }
    // Reset at once: a kept statement left on a row would hold its read of the database open.
    sqlite3_reset(statement_);
    sqlite3_clear_bindings(statement_);
    *lent_ = false;
}

Statement& Statement::bind(int index, std::int64_t value) {
    if (statement_ != nullptr) sqlite3_bind_int64(statement_, index, value);
    return *this;
}

Statement& Statement::bind(int index, std::string_view text) {
    if (statement_ != nullptr)
        sqlite3_bind_text(statement_, index, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::bind_blob(int index, const void* data, std::size_t bytes) {
    static const char empty = 0;
    if (statement_ != nullptr)
        sqlite3_bind_blob(statement_, index, bytes == 0 ? &empty : data, static_cast<int>(bytes), SQLITE_TRANSIENT);
    return *this;
}

Statement& Statement::bind_null(int index) {
    if (statement_ != nullptr) sqlite3_bind_null(statement_, index);
    return *this;
}

int Statement::step() { return statement_ == nullptr ? SQLITE_MISUSE : sqlite3_step(statement_); }

bool Statement::run() {
    int rc;
    while ((rc = step()) == SQLITE_ROW) {
    }
    return rc == SQLITE_DONE;
}

std::int64_t Statement::column_int(int column) const { return sqlite3_column_int64(statement_, column); }

std::string Statement::column_text(int column) const {
    const auto* text = sqlite3_column_text(statement_, column);
    return text == nullptr ? std::string{}
                           : std::string(reinterpret_cast<const char*>(text),
                                         static_cast<std::size_t>(sqlite3_column_bytes(statement_, column)));
}

std::vector<std::uint8_t> Statement::column_blob(int column) const {
    const auto* data = static_cast<const std::uint8_t*>(sqlite3_column_blob(statement_, column));
    const auto bytes = static_cast<std::size_t>(sqlite3_column_bytes(statement_, column));
    return data == nullptr ? std::vector<std::uint8_t>{} : std::vector<std::uint8_t>(data, data + bytes);
}

bool Statement::column_is_null(int column) const { return sqlite3_column_type(statement_, column) == SQLITE_NULL; }

Database::~Database() {
    for (auto& [sql, kept] : kept_) sqlite3_finalize(kept.statement);
    sqlite3_close_v2(db_);
}

bool Database::open(const std::string& path, const std::filesystem::path& setting_changes) {
    std::lock_guard guard(lock_);
    if (db_ != nullptr) return true;
    if (!setting_changes.empty()) setting_changes_.open(setting_changes);
    const auto failed = [&] {
        // The disk's own trouble (a full disk, an I/O error) said in words, else SQLite's.
        const int system_error = db_ != nullptr ? sqlite3_system_errno(db_) : 0;
        failure_ = "cannot open " + path + ": " +
                   (system_error != 0 ? HostError::in_words(system_error)
                                      : std::string(db_ != nullptr ? sqlite3_errmsg(db_) : "out of memory"));
        sqlite3_close_v2(db_);
        db_ = nullptr;
        return false;
    };
    if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_FULLMUTEX,
                        ReserveVfs::name()) != SQLITE_OK)
        return failed();
    // Several programs of the handheld write at once; a writer waits rather than fails.
    sqlite3_busy_timeout(db_, 10000);
    if (!exec("PRAGMA journal_mode=WAL") || !exec("PRAGMA foreign_keys=ON") || !exec(kDurableCommits) ||
        !create_schema())
        return failed();
    failure_.clear();
    return true;
}

void Database::note_failure() {
    const int code = db_ != nullptr ? sqlite3_errcode(db_) & 0xFF : SQLITE_OK;
    if (code != SQLITE_FULL && code != SQLITE_IOERR) {
        disk_trouble_ = 0;
        return;
    }
    const int system_error = sqlite3_system_errno(db_);
    disk_trouble_ = system_error != 0 ? system_error : code == SQLITE_FULL ? ENOSPC : EIO;
}

bool Database::create_schema() {
    Transaction transaction(*this);
    return transaction.ok() && exec(kSchema) && add_missing_columns() && transaction.commit();
}

// A device.db made by an earlier build keeps its tables; columns added since come here.
bool Database::add_missing_columns() {
    const auto has = [&](const char* table, const char* column) {
        Statement query(db_, std::string("SELECT 1 FROM pragma_table_info('") + table + "') WHERE name = '" + column +
                                 "'");
        return query.step() == SQLITE_ROW;
    };
    return (has("windows", "topmost") || exec("ALTER TABLE windows ADD COLUMN topmost INTEGER NOT NULL DEFAULT 0")) &&
           (has("notifications", "second_reading") ||
            exec("ALTER TABLE notifications ADD COLUMN second_reading INTEGER NOT NULL DEFAULT 0"));
}

bool Database::exec(std::string_view sql) {
    std::lock_guard guard(lock_);
    const std::string text(sql);
    if (db_ != nullptr && sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK) return true;
    note_failure();
    return false;
}

Statement Database::kept(std::string_view sql) {
    std::lock_guard guard(lock_);
    auto found = kept_.find(sql);
    if (found == kept_.end()) {
        sqlite3_stmt* statement = nullptr;
        if (db_ == nullptr || sqlite3_prepare_v3(db_, sql.data(), static_cast<int>(sql.size()),
                                                 SQLITE_PREPARE_PERSISTENT, &statement, nullptr) != SQLITE_OK) {
            sqlite3_finalize(statement);
            return Statement(db_, sql);
        }
        found = kept_.emplace(std::string(sql), KeptStatement{statement, false}).first;
    }
    if (found->second.lent) return Statement(db_, sql);
    return Statement(found->second.statement, &found->second.lent);
}

std::int64_t Database::last_insert_rowid() const { return sqlite3_last_insert_rowid(db_); }

int Database::changes() const { return sqlite3_changes(db_); }

std::optional<std::string> Database::setting(std::string_view name) {
    std::lock_guard guard(lock_);
    // The count is taken before the read: a change committed meanwhile bumps it past it.
    const auto count = setting_changes_.value();
    if (!count || count != settings_seen_) {
        settings_.clear();
        settings_seen_ = count;
    } else if (const auto copy = settings_.find(name); copy != settings_.end()) {
        return copy->second;
    }
    Statement query = kept("SELECT value FROM settings WHERE name = ?1");
    query.bind(1, name);
    std::optional<std::string> value;
    const int step = query.step();
    if (step == SQLITE_ROW) value = query.column_text(0);
    if (count && (step == SQLITE_ROW || step == SQLITE_DONE)) settings_.emplace(std::string(name), value);
    return value;
}

bool Database::set_setting(std::string_view name, std::string_view value) {
    std::lock_guard guard(lock_);
    Statement update(db_, "INSERT INTO settings (name, value) VALUES (?1, ?2) "
                          "ON CONFLICT(name) DO UPDATE SET value = excluded.value");
    update.bind(1, name).bind(2, value);
    const bool written = update.run();
    setting_written();
    return written;
}

void Database::setting_written() {
    // This connection reads its own write at once, inside a transaction too; should that
    // roll back, the bump at its end clears what was read meanwhile.
    settings_.clear();
    if (sqlite3_get_autocommit(db_) != 0) {
        setting_changes_.bump();
    } else {
        setting_change_pending_ = true;
    }
}

void Database::transaction_ended() {
    // Committed or rolled back, the copies others keep are read again: a needless read at worst.
    if (std::exchange(setting_change_pending_, false)) setting_changes_.bump();
}

RuntimeWrite::RuntimeWrite(Database& db) : db_(db), guard_(db.lock()) {
    relaxed_ = db_.is_open() && !db_.in_transaction() && db_.exec("PRAGMA synchronous=NORMAL");
}

RuntimeWrite::~RuntimeWrite() {
    if (relaxed_) db_.exec(kDurableCommits);
}

Transaction::Transaction(Database& db) : db_(db), guard_(db.lock()) {
    db_.disk_trouble_ = 0;
    begun_ = db_.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
    if (begun_ && !done_) {
        // What failed inside it, before the rollback answers in its place.
        if (db_.disk_trouble() == 0) db_.note_failure();
        // A commit the disk refused is rolled back already: this one's failure is no news.
        const int trouble = db_.disk_trouble();
        db_.exec("ROLLBACK");
        db_.disk_trouble_ = trouble;
    }
    db_.transaction_ended();
}

bool Transaction::commit() {
    if (!begun_ || done_) return false;
    done_ = db_.exec("COMMIT");
    if (done_) {
        db_.disk_trouble_ = 0;
        db_.transaction_ended();
    }
    return done_;
}

}  // namespace host
