// The handheld on a small file system of its own that is filled a few seconds before an
// alarm and freed after it: the alarm goes off at its second on the space the handheld
// keeps in reserve, KIVO starts on the full disk, `handheld status` says the disk is full
// while it is, and a later alarm rings at its time. The file system is a tmpfs mounted in
// a private mount namespace, which needs root: elsewhere the test is skipped.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sched.h>
#include <stdlib.h>
#include <sys/mount.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "AlertHandheld.h"
#include "StandIn.h"

namespace {

using ::testing::HasSubstr;

class FullDisk : public e2e::AlertHandheld {
protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "needs root, to fill a tmpfs of a private mount namespace";
#ifdef __SANITIZE_ADDRESS__
        // The sanitizer build's programs are many times the size and do not fit the small
        // file system this test fills; the release build runs it.
        GTEST_SKIP() << "run by the release build: the sanitizer build's programs do not fit the small file system";
#endif
        if (unshare(CLONE_NEWNS) != 0 || mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            GTEST_SKIP() << "no private mount namespace to be had: " << std::strerror(errno);
        std::string folder = (std::filesystem::temp_directory_path() / "kivo-full-XXXXXX").string();
        ASSERT_NE(mkdtemp(folder.data()), nullptr);
        disk_ = folder;
        ASSERT_EQ(mount("tmpfs", disk_.c_str(), "tmpfs", 0, "size=64m"), 0) << std::strerror(errno);
        if (const char* tmp = getenv("TMPDIR")) saved_tmpdir_ = tmp;
        // The handheld is made on it (TempDevice makes it in the temporary folder); what
        // the test itself keeps there (the tool's output) is not.
        setenv("TMPDIR", disk_.c_str(), 1);
        set_up_ = true;
        AlertHandheld::SetUp();
        restore_tmpdir();
    }
    void restore_tmpdir() { saved_tmpdir_ ? setenv("TMPDIR", saved_tmpdir_->c_str(), 1) : unsetenv("TMPDIR"); }
    void TearDown() override {
        if (!set_up_) return;
        empty_disk();
        AlertHandheld::TearDown();
        restore_tmpdir();
        umount2(disk_.c_str(), MNT_DETACH);
        std::filesystem::remove(disk_);
    }

    // Fills the file system to its last block: large pieces, then small ones. Files of an
    // earlier filling stay whole: emptied and written again, they would leave room for a
    // moment, which the handheld may take for its reserve.
    void fill_disk() {
        ++fillings_;
        for (const std::size_t piece : {std::size_t{1} << 20, std::size_t{4096}, std::size_t{64}}) {
            const std::string bytes(piece, '\0');
            std::ofstream filler(disk_ / ("filler-" + std::to_string(fillings_) + "-" + std::to_string(piece)),
                                 std::ios::binary);
            while (filler.write(bytes.data(), static_cast<std::streamsize>(bytes.size())) && filler.flush()) {
            }
        }
    }
    void empty_disk() {
        std::error_code error;
        for (const auto& entry : std::filesystem::directory_iterator(disk_, error))
            if (entry.path().filename().string().starts_with("filler-")) std::filesystem::remove(entry.path(), error);
    }

    std::filesystem::path disk_;
    std::optional<std::string> saved_tmpdir_;
    bool set_up_ = false;
    int fillings_ = 0;
};

TEST_F(FullDisk, AlarmsRingOnTheReserveAndAfterItAsSoonAsTheDiskHasRoom) {
    set_clock("2026-03-07 07:45:00");
    add_alarm("08:00", {"--description", "On the reserve"});
    add_alarm("08:10", {"--description", "Past the reserve"});
    // Long enough before its second for the filling to end first on a busy machine.
    set_clock("2026-03-07 07:59:50");
    fill_disk();

    // The reminder records its window in device.db: the handheld's reserve gives it room.
    ASSERT_TRUE(eventually(reminder_shown)) << "the alarm goes off on the full disk";
    EXPECT_THAT(reminder_controls(), HasSubstr("\"08:00 AM\""));
    EXPECT_THAT(handheld({"status"}).out,
                HasSubstr("\ntrouble     the disk holding the handheld is full since 2026-03-07 0"));
    ok({"ui", "click", "600"});
    ASSERT_TRUE(eventually(reminder_gone));
    ok({"run", "\\Program Files\\KIVO\\KIVO.exe"});
    EXPECT_TRUE(eventually([&] { return handheld({"ui", "dump"}).out.find("302 window \"Add\"") != std::string::npos; }))
        << "KIVO shows its list on the full disk";

    // What the reserve gave back is taken too: device.db cannot be written at all.
    set_clock("2026-03-07 08:09:45");
    fill_disk();
    const auto refused = handheld({"alarm", "add", "09:00"});
    EXPECT_NE(refused.exit_code, 0);
    EXPECT_THAT(refused.err, HasSubstr("no space left on the device holding the handheld"));
    // Whether device.db still takes the 08:10 start depends on what its files hold
    // already; the alarm goes off at its second or as soon as the disk has room.
    ASSERT_TRUE(eventually([] { return AlertHandheld::local_now() >= "2026-03-07 08:10:05"; }));
    empty_disk();
    ASSERT_TRUE(eventually(reminder_shown)) << "the alarm goes off, once the reminder can be shown at the latest";
    EXPECT_THAT(reminder_controls(), HasSubstr("\"08:10 AM\""));
    EXPECT_TRUE(eventually([&] { return handheld({"status"}).out.find("\ntrouble ") == std::string::npos; }));
    EXPECT_TRUE(std::filesystem::exists(device_root() / "reserve")) << "kept again once the disk has room";
    const auto log = testing_support::log_lines(device_root(), "notify");
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
        return line.find("the disk holding the handheld is full since 2026-03-07 0") != std::string::npos &&
               line.find("the reserve is kept anew") != std::string::npos;
    }));

    ok({"ui", "click", "600"});
    ASSERT_TRUE(eventually(reminder_gone));
    add_alarm("08:30", {"--description", "After the space came back"});
    run_clock_to("2026-03-07 08:30:00");
    ASSERT_TRUE(eventually(reminder_shown)) << "the later alarm goes off";
    EXPECT_THAT(reminder_controls(), HasSubstr("\"08:30 AM\""));
}

}  // namespace
