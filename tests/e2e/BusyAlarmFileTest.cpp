// An alarm file another program holds open without sharing it (a backup, an indexer, a
// lock taken on it by hand) never costs its alarm: the registration it had stays, the
// busy file is named in the log, the store is read again until the file can be read, and
// an alarm whose file is still held at its second rings once it can be read, with its
// own sound.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

#include "AlertHandheld.h"
#include "ce/Text.h"

namespace {

using ::testing::HasSubstr;

constexpr const char* kDismiss = "600";
constexpr int kOwnSound = 450;
constexpr std::uint64_t kOwnBytes = 3600;  // 450 ms of 8000 one-byte samples

// A read lock over the whole file, as any program of the same account can take on it:
// to the handheld, a handle that lets nobody else read.
class HeldFile {
public:
    explicit HeldFile(const std::filesystem::path& file) : fd_(open(file.c_str(), O_RDONLY | O_CLOEXEC)) {
        struct flock lock {};
        lock.l_type = F_RDLCK;
        lock.l_whence = SEEK_SET;
        held_ = fd_ >= 0 && fcntl(fd_, F_OFD_SETLK, &lock) == 0;
    }
    ~HeldFile() { release(); }
    HeldFile(const HeldFile&) = delete;
    HeldFile& operator=(const HeldFile&) = delete;
    bool held() const { return held_; }
    void release() {
        if (fd_ >= 0) close(fd_);
        fd_ = -1;
    }

private:
    int fd_;
    bool held_ = false;
};

class BusyAlarmFile : public e2e::AlertHandheld {
protected:
    std::filesystem::path host_file(const std::u16string& alarm) const {
        std::string relative = ce::utf8_from_utf16(alarm).substr(1);
        std::replace(relative.begin(), relative.end(), '\\', '/');
        return host_path(relative);
    }
    std::string printed(const std::string& program) const {
        std::ifstream file(device_root() / "log" / (program + ".out"));
        return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
    }
    std::size_t own_plays() const {
        const auto all = plays();
        return static_cast<std::size_t>(
            std::count_if(all.begin(), all.end(), [](const auto& play) { return play.bytes == kOwnBytes; }));
    }
};

// The alarm due next is held across a reschedule and across its second: it stays
// registered, and rings with its own sound once the file is let go.
TEST_F(BusyAlarmFile, AnAlarmHeldAtItsSecondRingsOnceItCanBeRead) {
    set_clock("2026-03-07 07:30:00");
    const std::u16string wake =
        add_alarm("08:00", {"--days", "daily", "--description", "Wake", "--sound", write_sound(kOwnSound)});
    ASSERT_EQ(registered_time(), "2026-03-07 08:00:00");
    HeldFile held(host_file(wake));
    ASSERT_TRUE(held.held());
    const auto added = handheld({"alarm", "add", "09:00", "--days", "daily"});
    ASSERT_EQ(added.exit_code, 0) << added.err;
    EXPECT_THAT(added.err, HasSubstr("the alarm file " + ce::utf8_from_utf16(wake) + " is busy"));
    EXPECT_EQ(registered_time(), "2026-03-07 08:00:00") << "the held alarm lost its registration";

    run_clock_to("2026-03-07 08:00:00");
    ASSERT_TRUE(eventually(reminder_shown));
    ASSERT_TRUE(eventually([&] { return printed("Alert").find("is busy") != std::string::npos; }));
    EXPECT_THAT(printed("Alert"), HasSubstr("the alarm file " + ce::utf8_from_utf16(wake) + " is busy"));
    EXPECT_EQ(own_plays(), 0u);

    held.release();
    ASSERT_TRUE(eventually([&] { return own_plays() == 1; })) << "the alarm never rang with its sound";
    EXPECT_NE(refire_of(wake), "") << "fired, its repeat is armed";
    ok({"ui", "click", kDismiss});
    ASSERT_TRUE(eventually(reminder_gone));
    EXPECT_EQ(registered_time(), "2026-03-07 09:00:00");
}

// The only alarm left is held when the one registered goes: nothing can be registered
// then, and the alarm is registered once its file can be read.
TEST_F(BusyAlarmFile, AHeldAlarmIsRegisteredOnceItsFileCanBeRead) {
    set_clock("2026-03-07 07:00:00");
    const std::u16string first = add_alarm("08:00", {"--days", "daily"});
    const std::u16string later = add_alarm("09:00", {"--days", "daily"});
    ASSERT_EQ(registered_time(), "2026-03-07 08:00:00");
    HeldFile held(host_file(later));
    ASSERT_TRUE(held.held());
    std::string number = ce::utf8_from_utf16(first);
    number = number.substr(number.rfind('\\') + 1);
    const auto removed = handheld({"alarm", "remove", number});
    ASSERT_EQ(removed.exit_code, 0) << removed.err;
    EXPECT_THAT(removed.err, HasSubstr("the alarm file " + ce::utf8_from_utf16(later) + " is busy"));
    held.release();
    EXPECT_TRUE(eventually([&] { return registered_time() == "2026-03-07 09:00:00"; }, 60))
        << "the alarm read again was never registered: '" << registered_time() << "'";
}

}  // namespace
