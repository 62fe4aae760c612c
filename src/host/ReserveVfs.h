#pragma once
// The way device.db reaches the disk: SQLite's own file layer, except that a write the
// disk refuses for want of space gives back the handheld's reserve (DiskReserve) beside
// the database and is tried once more, so SQLite never hears of a full disk while the
// reserve lasts.

namespace host {

class ReserveVfs {
public:
    // The layer's name for sqlite3_open_v2, registered on first use; nullptr (SQLite's
    // default) when it cannot be.
    static const char* name();
};

}  // namespace host
