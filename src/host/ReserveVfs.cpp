#include "host/ReserveVfs.h"

#include <sqlite3.h>

#include <algorithm>
#include <filesystem>
#include <mutex>
#include <new>

#include "host/DiskReserve.h"

namespace host {
namespace {

sqlite3_vfs* g_base = nullptr;  // SQLite's default layer, which does the work
sqlite3_vfs g_layer{};

// SQLite's file, with the reserve beside it; the base layer's file follows it in the
// same allocation.
struct ReserveFile {
    sqlite3_file file;
    sqlite3_file* base;
    std::filesystem::path reserve;  // empty: a temporary file, with no handheld beside it
};

ReserveFile* of(sqlite3_file* file) { return reinterpret_cast<ReserveFile*>(file); }
sqlite3_file* base(sqlite3_file* file) { return of(file)->base; }
const sqlite3_io_methods& methods(sqlite3_file* file) { return *base(file)->pMethods; }

// `call` once more when it failed with `refused` (the disk's "no space") and the reserve
// was there to give back.
template <class Call>
int given_room(sqlite3_file* file, int refused, Call call) {
    const int result = call();
    if (result != refused || of(file)->reserve.empty() || !DiskReserve::release(of(file)->reserve)) return result;
    return call();
}

int close_file(sqlite3_file* file) {
    const int result = methods(file).xClose(base(file));
    of(file)->reserve.~path();
    return result;
}
int read(sqlite3_file* file, void* buffer, int bytes, sqlite3_int64 offset) {
    return methods(file).xRead(base(file), buffer, bytes, offset);
}
int write(sqlite3_file* file, const void* buffer, int bytes, sqlite3_int64 offset) {
    return given_room(file, SQLITE_FULL, [&] { return methods(file).xWrite(base(file), buffer, bytes, offset); });
}
int truncate(sqlite3_file* file, sqlite3_int64 size) { return methods(file).xTruncate(base(file), size); }
int sync(sqlite3_file* file, int flags) { return methods(file).xSync(base(file), flags); }
int file_size(sqlite3_file* file, sqlite3_int64* size) { return methods(file).xFileSize(base(file), size); }
int lock(sqlite3_file* file, int level) { return methods(file).xLock(base(file), level); }
int unlock(sqlite3_file* file, int level) { return methods(file).xUnlock(base(file), level); }
int check_reserved_lock(sqlite3_file* file, int* out) { return methods(file).xCheckReservedLock(base(file), out); }
int file_control(sqlite3_file* file, int op, void* arg) { return methods(file).xFileControl(base(file), op, arg); }
int sector_size(sqlite3_file* file) { return methods(file).xSectorSize(base(file)); }
int device_characteristics(sqlite3_file* file) { return methods(file).xDeviceCharacteristics(base(file)); }
// The shared-memory file grows a page at a time, each page written to have its blocks.
int shm_map(sqlite3_file* file, int page, int page_size, int extend, void volatile** memory) {
    return given_room(file, SQLITE_IOERR_SHMSIZE,
                      [&] { return methods(file).xShmMap(base(file), page, page_size, extend, memory); });
}
int shm_lock(sqlite3_file* file, int offset, int count, int flags) {
    return methods(file).xShmLock(base(file), offset, count, flags);
}
void shm_barrier(sqlite3_file* file) { methods(file).xShmBarrier(base(file)); }
int shm_unmap(sqlite3_file* file, int delete_flag) { return methods(file).xShmUnmap(base(file), delete_flag); }
int fetch(sqlite3_file* file, sqlite3_int64 offset, int bytes, void** memory) {
    return methods(file).xFetch(base(file), offset, bytes, memory);
}
int unfetch(sqlite3_file* file, sqlite3_int64 offset, void* memory) {
    return methods(file).xUnfetch(base(file), offset, memory);
}

// One table per version the base layer's files may have: SQLite asks for no method
// beyond the version a file gives.
sqlite3_io_methods io_methods(int version) {
    return {version,  close_file, read,        write,     truncate,   sync,        file_size,
            lock,     unlock,     check_reserved_lock,    file_control, sector_size, device_characteristics,
            shm_map,  shm_lock,   shm_barrier, shm_unmap, fetch,      unfetch};
}
const sqlite3_io_methods kMethods[] = {io_methods(1), io_methods(2), io_methods(3)};

int open_file(sqlite3_vfs*, const char* name, sqlite3_file* file, int flags, int* out_flags) {
    auto* opened = of(file);
    opened->base = reinterpret_cast<sqlite3_file*>(opened + 1);
    // The database, its WAL and its journal lie beside the handheld's reserve.
    const bool beside_reserve =
        name != nullptr && (flags & (SQLITE_OPEN_MAIN_DB | SQLITE_OPEN_WAL | SQLITE_OPEN_MAIN_JOURNAL)) != 0;
    new (&opened->reserve) std::filesystem::path(
        beside_reserve ? std::filesystem::path(name).parent_path() / DiskReserve::kFileName : std::filesystem::path());
    const int result = g_base->xOpen(g_base, name, opened->base, flags, out_flags);
    const sqlite3_io_methods* given = opened->base->pMethods;
    if (given == nullptr) {
        opened->reserve.~path();
        file->pMethods = nullptr;
        return result;
    }
    file->pMethods = &kMethods[std::clamp(given->iVersion, 1, 3) - 1];
    return result;
}

// The rest is the base layer's.
int delete_file(sqlite3_vfs*, const char* name, int sync_dir) { return g_base->xDelete(g_base, name, sync_dir); }
int access(sqlite3_vfs*, const char* name, int flags, int* out) { return g_base->xAccess(g_base, name, flags, out); }
int full_pathname(sqlite3_vfs*, const char* name, int size, char* out) {
    return g_base->xFullPathname(g_base, name, size, out);
}
void* dl_open(sqlite3_vfs*, const char* name) { return g_base->xDlOpen(g_base, name); }
void dl_error(sqlite3_vfs*, int size, char* out) { g_base->xDlError(g_base, size, out); }
void (*dl_sym(sqlite3_vfs*, void* library, const char* symbol))(void) { return g_base->xDlSym(g_base, library, symbol); }
void dl_close(sqlite3_vfs*, void* library) { g_base->xDlClose(g_base, library); }
int randomness(sqlite3_vfs*, int size, char* out) { return g_base->xRandomness(g_base, size, out); }
int sleep(sqlite3_vfs*, int microseconds) { return g_base->xSleep(g_base, microseconds); }
int current_time(sqlite3_vfs*, double* now) { return g_base->xCurrentTime(g_base, now); }
int last_error(sqlite3_vfs*, int size, char* out) { return g_base->xGetLastError(g_base, size, out); }
int current_time_ms(sqlite3_vfs*, sqlite3_int64* now) { return g_base->xCurrentTimeInt64(g_base, now); }

}  // namespace

const char* ReserveVfs::name() {
    static std::once_flag registered;
    static bool ready = false;
    std::call_once(registered, [] {
        g_base = sqlite3_vfs_find(nullptr);
        // Version 2 at least: SQLite's own layer on Linux has been version 3 for years.
        if (g_base == nullptr || g_base->iVersion < 2) return;
        g_layer.iVersion = 2;
        g_layer.szOsFile = static_cast<int>(sizeof(ReserveFile)) + g_base->szOsFile;
        g_layer.mxPathname = g_base->mxPathname;
        g_layer.zName = "kivo-reserve";
        g_layer.xOpen = open_file;
        g_layer.xDelete = delete_file;
        g_layer.xAccess = access;
        g_layer.xFullPathname = full_pathname;
        g_layer.xDlOpen = dl_open;
        g_layer.xDlError = dl_error;
        g_layer.xDlSym = dl_sym;
        g_layer.xDlClose = dl_close;
        g_layer.xRandomness = randomness;
        g_layer.xSleep = sleep;
        g_layer.xCurrentTime = current_time;
        g_layer.xGetLastError = last_error;
        g_layer.xCurrentTimeInt64 = current_time_ms;
        ready = sqlite3_vfs_register(&g_layer, 0) == SQLITE_OK;
    });
    return ready ? g_layer.zName : nullptr;
}

}  // namespace host
