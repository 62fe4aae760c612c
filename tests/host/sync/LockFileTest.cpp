// The lock files of run/: exclusive between any two openers, kept across a move, and
// waited for through signals; a lock on a file its caller keeps open.

#include <gtest/gtest.h>

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <memory>
#include <thread>

#include "TempDevice.h"
#include "host/LockFile.h"

namespace {

using host::LockFile;

class LockFileTest : public testing_support::TempDevice {
protected:
    std::filesystem::path path() const { return device_root() / "run" / "probe" / "x.lock"; }
};

TEST_F(LockFileTest, ASecondOpenerIsBusyUntilTheHolderGoes) {
    {
        LockFile first(path());
        ASSERT_TRUE(first.locked()) << first.error();
        const LockFile second(path(), LockFile::Wait::no);
        EXPECT_FALSE(second.locked());
        EXPECT_TRUE(second.busy());
        const LockFile moved = std::move(first);
        EXPECT_FALSE(first.locked());
        EXPECT_TRUE(LockFile(path(), LockFile::Wait::no).busy()) << "the moved-to file holds the lock";
    }
    EXPECT_TRUE(LockFile(path(), LockFile::Wait::no).locked());
}

// A guard taken around every file call keeps its file open: unlocking and locking it again
// must exclude others as a fresh open does; a probe of someone else's lock file only looks.
TEST_F(LockFileTest, AKeptFileLocksAgainAndAProbeOnlyLooks) {
    LockFile kept(path());
    ASSERT_TRUE(kept.locked());
    EXPECT_TRUE(LockFile::existing(path(), LockFile::Kind::shared, LockFile::Wait::no).busy());
    kept.unlock();
    EXPECT_FALSE(kept.locked());
    EXPECT_TRUE(LockFile::existing(path(), LockFile::Kind::shared, LockFile::Wait::no).locked());
    {
        const LockFile other(path(), LockFile::Wait::no);
        ASSERT_TRUE(other.locked());
        EXPECT_FALSE(kept.lock(LockFile::Wait::no));
        EXPECT_TRUE(kept.busy());
    }
    EXPECT_TRUE(kept.lock(LockFile::Wait::no));
    EXPECT_TRUE(LockFile(path(), LockFile::Wait::no).busy());

    const auto missing = path().parent_path() / "none.lock";
    const auto probe = LockFile::existing(missing, LockFile::Kind::shared, LockFile::Wait::no);
    EXPECT_FALSE(probe.locked());
    EXPECT_FALSE(probe.busy());
    EXPECT_EQ(probe.error(), ENOENT);
    EXPECT_FALSE(std::filesystem::exists(missing)) << "a probe makes nothing";
}

// A log's writer locks the file it appends to: others are kept out while it holds the
// lock, and the file stays the writer's, open and unlocked, once the lock goes.
TEST_F(LockFileTest, ALockOnACallersFileLeavesTheFileOpen) {
    auto made = std::make_unique<LockFile>(path());
    ASSERT_TRUE(made->locked());
    const int fd = ::open(path().c_str(), O_WRONLY | O_APPEND | O_CLOEXEC);
    ASSERT_GE(fd, 0);
    {
        const LockFile busy = LockFile::on(fd, LockFile::Wait::no);
        EXPECT_TRUE(busy.busy()) << "another opener holds it";
    }
    made.reset();
    {
        const LockFile held = LockFile::on(fd);
        ASSERT_TRUE(held.locked());
        EXPECT_TRUE(LockFile(path(), LockFile::Wait::no).busy());
    }
    EXPECT_TRUE(LockFile(path(), LockFile::Wait::no).locked()) << "given back with the LockFile";
    EXPECT_EQ(::write(fd, "x", 1), 1) << "the caller's file is still open";
    ::close(fd);
}

void on_signal(int) {}

// A signal that interrupts the wait (a handler installed without SA_RESTART) does not
// end it: the waiter gets the lock once the holder lets go.
TEST_F(LockFileTest, WaitingGoesOnThroughSignals) {
    struct sigaction action {};
    action.sa_handler = on_signal;
    struct sigaction previous {};
    ASSERT_EQ(sigaction(SIGUSR1, &action, &previous), 0);
    auto holder = std::make_unique<LockFile>(path());
    ASSERT_TRUE(holder->locked());

    std::atomic<bool> waiting = false;
    bool got_it = false;
    std::thread waiter([&] {
        waiting = true;
        got_it = LockFile(path()).locked();
    });
    while (!waiting) std::this_thread::yield();
    for (int i = 0; i < 20; ++i) {
        pthread_kill(waiter.native_handle(), SIGUSR1);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    holder.reset();
    waiter.join();
    sigaction(SIGUSR1, &previous, nullptr);
    EXPECT_TRUE(got_it);
}

}  // namespace
