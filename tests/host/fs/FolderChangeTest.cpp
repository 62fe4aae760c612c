// A folder's change notification between two real processes of one handheld: a file
// made, written or removed by the other process signals it until it is re-armed.

#include <memory>

#include "ChildProcess.h"
#include "FileTesting.h"
#include "TempDevice.h"
#include "ce/FileChange.h"
#include "ce/Sync.h"

namespace {

using namespace ce;

constexpr DWORD kNamesAndWrites = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_LAST_WRITE;

class FolderChange : public testing_support::TempDevice {
protected:
    void SetUp() override {
        TempDevice::SetUp();
        ASSERT_TRUE(CreateDirectoryW(u"\\Alarms"));
        agent_ = std::make_unique<testing_support::ChildProcess>(testing_support::executable_dir() + "/kivo_fs_agent",
                                                                 std::vector<std::string>{});
        ASSERT_TRUE(agent_->started());
    }
    std::string ask(const std::string& line) {
        EXPECT_TRUE(agent_->send_line(line));
        return agent_->read_line(30000).value_or("<no answer>");
    }
    // Signalled now (waiting up to `ms`), then re-armed; whether it was.
    static bool told(HANDLE change, DWORD ms = 10000) {
        if (WaitForSingleObject(change, ms) != WAIT_OBJECT_0) return false;
        EXPECT_EQ(WaitForSingleObject(change, 0), WAIT_OBJECT_0) << "signalled until re-armed";
        EXPECT_TRUE(FindNextChangeNotification(change));
        return true;
    }

    std::unique_ptr<testing_support::ChildProcess> agent_;
};

TEST_F(FolderChange, AnotherProcessMakingWritingAndRemovingAFileSignalsItUntilReArmed) {
    const HANDLE change = FindFirstChangeNotificationW(u"\\ALARMS", FALSE, kNamesAndWrites);
    ASSERT_NE(change, INVALID_HANDLE_VALUE);
    EXPECT_EQ(WaitForSingleObject(change, 0), WAIT_TIMEOUT);

    ASSERT_EQ(ask("open \\Alarms\\1.kivo " + std::to_string(GENERIC_WRITE) + " 0 " + std::to_string(CREATE_ALWAYS)), "ok");
    EXPECT_TRUE(told(change)) << "made";
    ASSERT_EQ(ask("write contents"), "ok");
    ASSERT_EQ(ask("close"), "ok");
    EXPECT_TRUE(told(change)) << "written";
    EXPECT_EQ(WaitForSingleObject(change, 0), WAIT_TIMEOUT) << "re-armed, nothing new";
    ASSERT_EQ(ask("delete \\Alarms\\1.kivo"), "ok");
    EXPECT_TRUE(told(change)) << "removed";
    EXPECT_TRUE(FindCloseChangeNotification(change));
    EXPECT_FALSE(FindNextChangeNotification(change)) << "closed";
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
}

TEST_F(FolderChange, WhatCannotBeWatchedIsRefusedWithItsReason) {
    struct Refusal {
        const char16_t* path;
        BOOL subtree;
        DWORD filter;
        DWORD error;
    };
    ASSERT_TRUE(fs_testing::write_file(u"\\Alarms\\note.txt", "x"));
    for (const Refusal& row : {Refusal{u"\\Missing", FALSE, kNamesAndWrites, ERROR_PATH_NOT_FOUND},
                               Refusal{u"\\Alarms\\note.txt", FALSE, kNamesAndWrites, ERROR_PATH_NOT_FOUND},
                               Refusal{u"\\Alarms", TRUE, kNamesAndWrites, ERROR_NOT_SUPPORTED},
                               Refusal{u"\\Alarms", FALSE, FILE_NOTIFY_CHANGE_ATTRIBUTES, ERROR_NOT_SUPPORTED},
                               Refusal{u"\\Alarms", FALSE, 0, ERROR_INVALID_PARAMETER},
                               Refusal{u"\\Alarms", FALSE, 0x100, ERROR_INVALID_PARAMETER},
                               Refusal{nullptr, FALSE, kNamesAndWrites, ERROR_INVALID_PARAMETER}}) {
        SetLastError(0);
        EXPECT_EQ(FindFirstChangeNotificationW(row.path, row.subtree, row.filter), INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), row.error);
    }
}

}  // namespace
