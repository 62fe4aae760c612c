#include "host/fs/ShareLock.h"

#include <fcntl.h>
#include <unistd.h>

#include "ce/Files.h"

namespace host {

namespace {

// One byte per fact about a handle; every holder takes a shared lock on its facts,
// so "is anybody ... ?" is a test for a conflicting exclusive lock. The order puts the
// facts a handle tests, and those it takes, next to each other for the usual handles
// (reading and writing granting read, reading granting read), so that each set is one
// run and costs one call.
enum Fact : int { kDeniesRead = 0, kWrites = 1, kDeniesWrite = 2, kReads = 3, kOpen = 4, kFactCount = 5 };

unsigned bit(Fact fact) { return 1u << fact; }

// Calls `each(start, length)` for every run of adjacent facts in `facts`, stopping at
// the first that returns false.
template <typename Each>
bool for_each_run(unsigned facts, Each each) {
    for (int start = 0; start < kFactCount;) {
        if ((facts & (1u << start)) == 0) {
            ++start;
            continue;
        }
        int end = start;
        while (end < kFactCount && (facts & (1u << end)) != 0) ++end;
        if (!each(start, end - start)) return false;
        start = end;
    }
    return true;
}

struct flock range_of(short type, int start, int length) {
    struct flock range {};
    range.l_type = type;
    range.l_whence = SEEK_SET;
    range.l_start = start;
    range.l_len = length;
    return range;
}

// Whether a handle other than the one on `fd` holds any of the facts; a failed test
// counts as held, so an error refuses rather than lets a conflict through.
bool held_by_others(int fd, int start, int length) {
    struct flock probe = range_of(F_WRLCK, start, length);
    if (fcntl(fd, F_OFD_GETLK, &probe) != 0) return true;
    return probe.l_type != F_UNLCK;
}

unsigned tested_facts(ce::DWORD access, ce::DWORD share) {
    unsigned facts = 0;
    if ((access & ce::GENERIC_READ) != 0) facts |= bit(kDeniesRead);
    if ((access & ce::GENERIC_WRITE) != 0) facts |= bit(kDeniesWrite);
    if ((share & ce::FILE_SHARE_READ) == 0) facts |= bit(kReads);
    if ((share & ce::FILE_SHARE_WRITE) == 0) facts |= bit(kWrites);
    return facts;
}

unsigned held_facts(ce::DWORD access, ce::DWORD share) {
    unsigned facts = bit(kOpen);
    if ((access & ce::GENERIC_READ) != 0) facts |= bit(kReads);
    if ((access & ce::GENERIC_WRITE) != 0) facts |= bit(kWrites);
    if ((share & ce::FILE_SHARE_READ) == 0) facts |= bit(kDeniesRead);
    if ((share & ce::FILE_SHARE_WRITE) == 0) facts |= bit(kDeniesWrite);
    return facts;
}

}  // namespace

ce::DWORD ShareLock::take(int fd, ce::DWORD access, ce::DWORD share) {
    const bool free = for_each_run(tested_facts(access, share),
                                   [&](int start, int length) { return !held_by_others(fd, start, length); });
    const bool taken = free && for_each_run(held_facts(access, share), [&](int start, int length) {
        struct flock range = range_of(F_RDLCK, start, length);
        return fcntl(fd, F_OFD_SETLK, &range) == 0;
    });
    return taken ? ce::ERROR_SUCCESS : ce::ERROR_SHARING_VIOLATION;
}

bool ShareLock::in_use(const std::filesystem::path& host) {
    // Only regular files have handles; O_NONBLOCK keeps a FIFO from hanging the test.
    const int fd = open(host.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool used = held_by_others(fd, kOpen, 1);
    close(fd);
    return used;
}

}  // namespace host
