// Two real processes of one handheld: sharing and attributes hold between them, and a
// process that dies stops blocking the files it had open.

#include <memory>

#include "ChildProcess.h"
#include "FileTesting.h"
#include "TempDevice.h"

namespace {

using namespace fs_testing;
using namespace ce;

class CrossProcessTest : public testing_support::TempDevice {
protected:
    void SetUp() override {
        TempDevice::SetUp();
        // Started only now, so that it inherits this test's KIVO_DEVICE.
        agent_ = std::make_unique<testing_support::ChildProcess>(testing_support::executable_dir() + "/kivo_fs_agent",
                                                                 std::vector<std::string>{});
        ASSERT_TRUE(agent_->started());
    }

    std::string ask(const std::string& line) {
        EXPECT_TRUE(agent_->send_line(line));
        return agent_->read_line(30000).value_or("<no answer>");
    }

    static std::string opening(const char* path, DWORD access, DWORD share, DWORD disposition = OPEN_EXISTING) {
        return std::string("open ") + path + " " + std::to_string(access) + " " + std::to_string(share) + " " +
               std::to_string(disposition);
    }

    std::unique_ptr<testing_support::ChildProcess> agent_;
};

TEST_F(CrossProcessTest, SharingIsHonouredBetweenProcesses) {
    ASSERT_TRUE(write_file(u"\\alarms.db", "contents"));
    ASSERT_EQ(ask(opening("\\ALARMS.DB", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ)), "ok");

    EXPECT_EQ(open_failure(u"\\alarms.db", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(failure(DeleteFileW(u"\\alarms.db")), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(open_failure(u"\\alarms.db", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE), kSucceeded);

    EXPECT_EQ(ask("close"), "ok");
    const auto mine = open_file(u"\\alarms.db", GENERIC_READ, 0);
    ASSERT_TRUE(valid(mine));
    EXPECT_EQ(ask(opening("\\alarms.db", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE)), "error 32");
    EXPECT_EQ(ask("delete \\alarms.db"), "error 32");
}

TEST_F(CrossProcessTest, AttributesSetInOneProcessAreSeenInTheOther) {
    ASSERT_TRUE(write_file(u"\\Settings.dat", "x"));
    EXPECT_EQ(ask("setattr \\settings.dat " + std::to_string(FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN)), "ok");
    EXPECT_EQ(GetFileAttributesW(u"\\settings.dat"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(open_failure(u"\\settings.dat", GENERIC_WRITE), ERROR_ACCESS_DENIED);

    ASSERT_TRUE(SetFileAttributesW(u"\\settings.dat", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(ask("getattr \\SETTINGS.DAT"), "attr " + std::to_string(FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(ask(opening("\\settings.dat", GENERIC_WRITE, 0)), "ok");
    EXPECT_EQ(ask("write more"), "ok");
    EXPECT_EQ(GetFileAttributesW(u"\\settings.dat"), FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(CrossProcessTest, AKilledProcessNoLongerBlocksItsFiles) {
    ASSERT_EQ(ask(opening("\\crash.dat", GENERIC_WRITE, 0, CREATE_NEW)), "ok");
    EXPECT_EQ(ask("write unfinished"), "ok");
    EXPECT_EQ(open_failure(u"\\crash.dat", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE), ERROR_SHARING_VIOLATION);

    agent_->kill();
    agent_->wait();
    EXPECT_EQ(read_file(u"\\crash.dat"), "unfinished");
    EXPECT_TRUE(write_file(u"\\crash.dat", "rewritten"));
    EXPECT_TRUE(DeleteFileW(u"\\crash.dat"));
}

}  // namespace
