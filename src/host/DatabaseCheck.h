#pragma once
// The check of a handheld's device.db that the notification service and the tool make
// as they start, before anyone writes to it. A damaged database is never opened as if
// it were sound nor replaced in silence: it is moved aside (with its WAL) under a name
// that says when, so that a new one can be made and the old one read by a person. Only
// what SQLite itself calls damage counts: a database that cannot be read for want of
// space or memory is left where it is.

#include <cstdint>
#include <filesystem>
#include <string>

namespace host {

class DatabaseCheck {
public:
    enum class State {
        sound,      // opens and passes SQLite's own check
        absent,     // no file yet
        damaged,    // empty, not a database, or failing the check (why says how)
        unchecked,  // could not be read for another reason (why says it): left as it is
    };
    struct Finding {
        State state = State::sound;
        std::string why;
    };

    // Databases up to this size get the full integrity check (which also compares every
    // index with its table); larger ones the quick check, which reads each page once.
    static constexpr std::uintmax_t kFullCheckBytes = 8 * 1024 * 1024;

    static Finding examine(const std::filesystem::path& database);
    // Renames `database` to DATABASE.damaged-YYYYMMDD-HHMMSS (its WAL beside it with
    // "-wal" added) and removes its shared-memory index, which would otherwise be
    // applied to the new database. The new name; empty (and *failure) when it failed.
    static std::filesystem::path keep_aside(const std::filesystem::path& database, std::string* failure);
};

}  // namespace host
