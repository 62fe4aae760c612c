// A folder's change notification between two real processes of one handheld: a file
// made, written or removed by the other process signals it until it is re-armed.

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

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

    // The records one call of CeGetFileNotificationInfo gives, as (action, name).
    static std::vector<std::pair<DWORD, std::u16string>> records(const unsigned char* buffer, DWORD bytes) {
        std::vector<std::pair<DWORD, std::u16string>> found;
        for (DWORD at = 0; at < bytes;) {
            FILE_NOTIFY_INFORMATION record;
            std::memcpy(&record, buffer + at, offsetof(FILE_NOTIFY_INFORMATION, FileName));
            std::u16string name(record.FileNameLength / sizeof(WCHAR), u'\0');
            std::memcpy(name.data(), buffer + at + offsetof(FILE_NOTIFY_INFORMATION, FileName), record.FileNameLength);
            found.emplace_back(record.Action, name);
            EXPECT_EQ(record.NextEntryOffset % sizeof(DWORD), 0u) << "records start at DWORD boundaries";
            if (record.NextEntryOffset == 0) break;
            at += record.NextEntryOffset;
        }
        return found;
    }

    std::unique_ptr<testing_support::ChildProcess> agent_;
};

// What a program showing the folder reads again: the names that changed, each with what
// happened to it, and nothing for a reader that only looked.
TEST_F(FolderChange, ChangesAreNamedOneByOneAndAReadIsNoChange) {
    const HANDLE change = FindFirstChangeNotificationW(u"\\Alarms", FALSE, kNamesAndWrites);
    ASSERT_NE(change, INVALID_HANDLE_VALUE);
    const std::string open_alarm = "open \\Alarms\\1.kivo ";
    ASSERT_EQ(ask(open_alarm + std::to_string(GENERIC_WRITE) + " 0 " + std::to_string(CREATE_ALWAYS)), "ok");
    ASSERT_EQ(ask("write first"), "ok");
    ASSERT_EQ(ask("write second"), "ok");
    ASSERT_EQ(ask("close"), "ok");
    ASSERT_EQ(ask(open_alarm + std::to_string(GENERIC_READ) + " " + std::to_string(FILE_SHARE_READ) + " " +
                  std::to_string(OPEN_EXISTING)),
              "ok");
    ASSERT_EQ(ask("close"), "ok");
    ASSERT_TRUE(MoveFileW(u"\\Alarms\\1.kivo", u"\\Alarms\\2.kivo"));
    ASSERT_EQ(ask("delete \\Alarms\\2.kivo"), "ok");

    ASSERT_EQ(WaitForSingleObject(change, 10000), WAIT_OBJECT_0);
    alignas(FILE_NOTIFY_INFORMATION) unsigned char buffer[1024];
    DWORD got = 0, waiting = 99;
    ASSERT_TRUE(CeGetFileNotificationInfo(change, 0, buffer, sizeof buffer, &got, &waiting));
    using Change = std::pair<DWORD, std::u16string>;
    EXPECT_EQ(records(buffer, got),
              (std::vector<Change>{{FILE_ACTION_ADDED, u"1.kivo"},
                                   {FILE_ACTION_MODIFIED, u"1.kivo"},
                                   {FILE_ACTION_RENAMED_OLD_NAME, u"1.kivo"},
                                   {FILE_ACTION_RENAMED_NEW_NAME, u"2.kivo"},
                                   {FILE_ACTION_REMOVED, u"2.kivo"}}))
        << "the writes are one change; the reader's open and close none";
    EXPECT_EQ(waiting, 0u);
    EXPECT_EQ(WaitForSingleObject(change, 0), WAIT_TIMEOUT) << "every change taken";

    // A buffer too small for the next record keeps it, and says how much is waiting.
    ASSERT_EQ(ask(open_alarm + std::to_string(GENERIC_WRITE) + " 0 " + std::to_string(CREATE_ALWAYS)), "ok");
    ASSERT_EQ(ask("close"), "ok");
    ASSERT_EQ(WaitForSingleObject(change, 10000), WAIT_OBJECT_0);
    SetLastError(0);
    EXPECT_FALSE(CeGetFileNotificationInfo(change, 0, buffer, 8, &got, &waiting));
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);
    EXPECT_GT(waiting, 8u);
    EXPECT_EQ(WaitForSingleObject(change, 0), WAIT_OBJECT_0) << "still signalled: nothing was taken";
    ASSERT_TRUE(CeGetFileNotificationInfo(change, 0, buffer, sizeof buffer, &got, &waiting));
    EXPECT_EQ(records(buffer, got).front(), (Change{FILE_ACTION_ADDED, u"1.kivo"}));

    // The folder itself gone: what it held can no longer be told name by name.
    ASSERT_EQ(ask("delete \\Alarms\\1.kivo"), "ok");
    ASSERT_TRUE(RemoveDirectoryW(u"\\Alarms"));
    ASSERT_EQ(WaitForSingleObject(change, 10000), WAIT_OBJECT_0);
    SetLastError(0);
    EXPECT_FALSE(CeGetFileNotificationInfo(change, 0, buffer, sizeof buffer, &got, &waiting));
    EXPECT_EQ(GetLastError(), ERROR_NOTIFY_ENUM_DIR);
    SetLastError(0);
    EXPECT_FALSE(CeGetFileNotificationInfo(nullptr, 0, buffer, sizeof buffer, &got, &waiting));
    EXPECT_EQ(GetLastError(), ERROR_INVALID_HANDLE);
    EXPECT_TRUE(FindCloseChangeNotification(change));
}

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
