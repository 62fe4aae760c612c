// A handheld is its owner's alone: whatever umask its programs start with, nothing in it
// is open to another account; a handheld others may change is refused, one made open
// before is closed by its owner's next `init` or `start`, and no account can read,
// lock, silence or stop what another's handheld holds.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "HandheldDeviceTest.h"
#include "WavFile.h"
#include "ce/Files.h"
#include "host/DeviceOwner.h"

namespace {

using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::Not;

constexpr mode_t kOthersAny = S_IRWXG | S_IRWXO;

// Everything below `root` (and `root` itself) that group or others may use, with its mode.
std::vector<std::string> open_to_others(const std::filesystem::path& root) {
    std::vector<std::string> open;
    const auto check = [&](const std::filesystem::path& path) {
        struct stat status {};
        if (lstat(path.c_str(), &status) == 0 && !S_ISLNK(status.st_mode) && (status.st_mode & kOthersAny) != 0) {
            char mode[8];
            std::snprintf(mode, sizeof mode, "%04o", static_cast<unsigned>(status.st_mode & 07777));
            open.push_back(path.string() + " " + mode);
        }
    };
    check(root);
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) check(entry.path());
    return open;
}

mode_t mode_of(const std::filesystem::path& path) {
    struct stat status {};
    stat(path.c_str(), &status);
    return status.st_mode & 07777;
}

class PrivateHandheld : public tool_tests::HandheldDeviceTest {
protected:
    void add_programs() {
        for (const char16_t* folder : {u"\\Program Files", u"\\Program Files\\KIVO", u"\\Windows"})
            ce::CreateDirectoryW(folder);
        for (const char16_t* program : {u"\\Program Files\\KIVO\\Alert.exe", u"\\Windows\\kivowake.exe"})
            ce::CloseHandle(ce::CreateFileW(program, ce::GENERIC_WRITE, 0, ce::CREATE_ALWAYS));
    }
};

// The tool and the service started with umask 0 still make every folder 0700 and every
// file, lock and socket 0600: the database and its journal, the logs, the alarm files,
// a sound and a program copied in from files others may read.
TEST_F(PrivateHandheld, NothingInAHandheldIsOpenToOthersWhateverTheUmask) {
    const auto fresh = device_root() / "fresh";
    const mode_t kept = umask(0);
    const std::string device = "--device=" + fresh.string();
    const auto init = tool_tests::run_handheld({device, "init"});
    const auto start = tool_tests::run_handheld({device, "start"});
    const auto sound = device_root() / "ring.wav";
    testing_support::WavSpec spec;
    spec.data = testing_support::pattern_bytes(800);
    const auto bytes = testing_support::wav_bytes(spec);
    std::ofstream(sound, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    ASSERT_EQ(chmod(sound.c_str(), 0644), 0);
    const auto added =
        tool_tests::run_handheld({device, "alarm", "add", "07:00", "--days", "daily", "--sound", sound.string()});
    const auto listed = tool_tests::run_handheld({device, "alarm", "list"});
    umask(kept);
    tool_tests::run_handheld({device, "stop"});
    ASSERT_EQ(init.exit_code, 0) << init.err;
    ASSERT_EQ(start.exit_code, 0) << start.err;
    ASSERT_EQ(added.exit_code, 0) << added.err;
    ASSERT_EQ(listed.exit_code, 0) << listed.err;
    ASSERT_TRUE(std::filesystem::exists(fresh / "log" / "notify.log"));
    EXPECT_THAT(open_to_others(fresh), IsEmpty());
}

TEST_F(PrivateHandheld, AHandheldOthersMayChangeIsRefusedAndAnOpenOneIsClosedByItsOwner) {
    ok({"init"});
    const std::string root = device_root().string();
    ASSERT_EQ(chmod(root.c_str(), 0777), 0);
    const auto refused = handheld({"status"});
    EXPECT_EQ(refused.exit_code, 1);
    EXPECT_THAT(refused.err, HasSubstr("the handheld at " + root + " can be changed by other accounts (mode 0777): "
                                       "`chmod 700 " + root + "` makes it yours alone"));
    const auto refused_start = handheld({"start"});
    EXPECT_EQ(refused_start.exit_code, 1) << "the service must not start on it either";
    EXPECT_FALSE(std::filesystem::exists(device_root() / "log" / "notify.log"));

    // A handheld made before handhelds were private: usable, and closed on the next init.
    ASSERT_EQ(chmod(root.c_str(), 0755), 0);
    ASSERT_EQ(chmod((device_root() / "fs").c_str(), 0755), 0);
    ASSERT_EQ(chmod((device_root() / "device.db").c_str(), 0644), 0);
    ok({"status"});
    EXPECT_THAT(ok({"init"}), HasSubstr("made the handheld at " + root + " private (its folder was 0755)"));
    EXPECT_THAT(open_to_others(device_root()), IsEmpty());
    EXPECT_EQ(mode_of(device_root() / "fs"), 0700u);
    EXPECT_THAT(ok({"start"}), Not(HasSubstr("private")));
    ok({"stop"});

    // A part of it that is a link is refused, whoever made it.
    std::filesystem::rename(device_root() / "log", device_root() / "log.old");
    std::filesystem::create_directory_symlink(device_root() / "log.old", device_root() / "log");
    EXPECT_THAT(handheld({"status"}).err, HasSubstr(root + "/log is a link"));
}

TEST_F(PrivateHandheld, WithoutAHomeTheDefaultHandheldIsNeverInASharedFolder) {
    std::vector<std::pair<const char*, std::string>> kept;
    for (const char* name : {"HOME", "KIVO_DEVICE", "XDG_DATA_HOME", "SUDO_USER"}) {
        if (const char* value = std::getenv(name)) kept.emplace_back(name, value);
        unsetenv(name);
    }
    // The default handheld's place, as a verb that finds none there names it.
    const auto status = tool_tests::run_handheld({"status"});
    for (const auto& [name, value] : kept) setenv(name, value.c_str(), 1);
    const auto own_home = host::DeviceOwner::home_of(geteuid());
    ASSERT_FALSE(own_home.empty());
    if (std::filesystem::exists(own_home / ".local/share/kivo/device/device.db"))
        GTEST_SKIP() << "this account has a default handheld, which a test must not touch";
    EXPECT_THAT(status.err, HasSubstr("no handheld at " + (own_home / ".local/share/kivo/device").string()));
    EXPECT_THAT(status.err, Not(HasSubstr("/tmp/.local")));
}

// A throw-away second account, made where the tests run as root, tries everything it
// could reach: the handheld's folder lets nobody through, so it reads no file, takes no
// lock, reaches no socket; its tool and its service refuse the handheld by name; and the
// alarm stays registered and the service running.
class OtherAccount : public PrivateHandheld {
protected:
    void SetUp() override {
        if (geteuid() != 0) GTEST_SKIP() << "needs root, to make a throw-away second account (useradd)";
        if (access("/usr/sbin/useradd", X_OK) != 0) GTEST_SKIP() << "needs useradd, to make a second account";
        PrivateHandheld::SetUp();
        name_ = "kivo-other-" + std::to_string(getpid());
        ASSERT_EQ(tool_tests::run_program("/usr/sbin/useradd",
                                          {"--system", "--no-create-home", "--shell", "/usr/sbin/nologin", name_})
                      .exit_code,
                  0);
        made_ = true;
    }
    void TearDown() override {
        if (made_) tool_tests::run_program("/usr/sbin/userdel", {name_});
        PrivateHandheld::TearDown();
    }
    // Runs `program` as the other account.
    tool_tests::HandheldResult as_other(const std::string& program, std::vector<std::string> arguments) const {
        arguments.insert(arguments.begin(), {"-u", name_, "--", program});
        return tool_tests::run_program("/usr/sbin/runuser", arguments);
    }

    std::string name_;
    bool made_ = false;
};

TEST_F(OtherAccount, CannotReadLockSilenceOrStopAnothersHandheld) {
    const std::string root = device_root().string();
    ok({"init"});
    add_programs();
    ok({"alarm", "add", "07:00", "--days", "daily", "--description", "Private"});
    ok({"start"});
    const auto service = [&] {
        const std::string status = ok({"status"});
        const auto line = status.find("notification service running");
        return line == std::string::npos ? std::string() : status.substr(line, status.find('\n', line) - line);
    };
    const std::string running = service();
    ASSERT_FALSE(running.empty());
    const std::string notes = ok({"notify", "list"});
    ASSERT_THAT(notes, HasSubstr("AppRunAtTime"));
    // The handheld's folder sits where anyone may pass (/tmp): only its own mode keeps
    // the other account out.
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(device_root()))
        if (!entry.is_directory()) files.push_back(entry.path().string());
    ASSERT_FALSE(files.empty());
    for (const auto& file : files) {
        SCOPED_TRACE(file);
        // Opened for reading: a file read, or one to lock (flock, OFD locks and mapped
        // mutexes all start with an open).
        EXPECT_NE(as_other("/bin/sh", {"-c", "exec 3<\"$0\"", file}).exit_code, 0);
    }
    EXPECT_NE(as_other("/bin/ls", {root}).exit_code, 0);
    const auto tool = as_other(HANDHELD_PROGRAM, {"--device", root, "status"});
    EXPECT_EQ(tool.exit_code, 1);
    EXPECT_THAT(tool.err, HasSubstr("the handheld at " + root + " belongs to root, not to you (" + name_ + ")"));
    EXPECT_EQ(as_other(HANDHELD_PROGRAM, {"--device", root, "stop"}).exit_code, 1);
    EXPECT_NE(as_other(KIVO_NOTIFY_SERVICE, {root}).exit_code, 0);
    EXPECT_EQ(service(), running) << "the service runs on as it ran";
    EXPECT_EQ(ok({"notify", "list"}), notes) << "the alarm is registered as it was";
    ok({"stop"});
}

}  // namespace
