// Whole-file operations: delete, copy, move, replace, folders, and what happens to the
// attributes on the way; none of them may touch a file a handle has open.

#include <fstream>

#include "FileTesting.h"
#include "TempDevice.h"

namespace {

using namespace fs_testing;
using namespace ce;

class FileOperationsTest : public testing_support::TempDevice {};

TEST_F(FileOperationsTest, OpenFilesCannotBeDeletedMovedOrReplaced) {
    ASSERT_TRUE(write_file(u"\\open.dat", "kept"));
    ASSERT_TRUE(write_file(u"\\other.dat", "other"));
    ASSERT_TRUE(CreateDirectoryW(u"\\dir"));
    ASSERT_TRUE(write_file(u"\\dir\\inner.dat", "inner"));
    {
        const auto open = open_file(u"\\OPEN.dat", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE);
        const auto inner = open_file(u"\\dir\\inner.dat", GENERIC_READ, FILE_SHARE_READ);
        EXPECT_EQ(failure(DeleteFileW(u"\\open.dat")), ERROR_SHARING_VIOLATION);
        EXPECT_EQ(failure(MoveFileW(u"\\open.dat", u"\\moved.dat")), ERROR_SHARING_VIOLATION);
        EXPECT_EQ(failure(ReplaceFileW(u"\\open.dat", u"\\other.dat")), ERROR_SHARING_VIOLATION);
        EXPECT_EQ(failure(ReplaceFileW(u"\\other.dat", u"\\open.dat")), ERROR_SHARING_VIOLATION);
        EXPECT_EQ(failure(MoveFileW(u"\\dir", u"\\dir2")), ERROR_SHARING_VIOLATION);
        EXPECT_EQ(read_file(u"\\open.dat"), "kept");
    }
    ASSERT_TRUE(SetFileAttributesW(u"\\open.dat", FILE_ATTRIBUTE_HIDDEN));
    EXPECT_TRUE(DeleteFileW(u"\\open.dat"));
    EXPECT_TRUE(MoveFileW(u"\\dir", u"\\dir2"));
    EXPECT_EQ(failure(DeleteFileW(u"\\open.dat")), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(failure(SetFileAttributesW(u"\\open.dat", FILE_ATTRIBUTE_HIDDEN)), ERROR_FILE_NOT_FOUND);
    std::ofstream(host_path("open.dat")) << "put there by hand";  // the deleted file's attributes are gone
    EXPECT_EQ(GetFileAttributesW(u"\\open.dat"), FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(FileOperationsTest, CopyTakesContentsAttributesTimeAndArchive) {
    ASSERT_TRUE(write_file(u"\\src.dat", "payload"));
    ASSERT_TRUE(SetFileAttributesW(u"\\src.dat", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    const auto old_time = std::filesystem::file_time_type::clock::now() - std::chrono::hours(48);
    std::filesystem::last_write_time(host_path("src.dat"), old_time);

    ASSERT_TRUE(CopyFileW(u"\\SRC.dat", u"\\copy.dat", TRUE));
    EXPECT_EQ(read_file(u"\\copy.dat"), "payload");
    EXPECT_EQ(GetFileAttributesW(u"\\copy.dat"),
              FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(std::filesystem::last_write_time(host_path("copy.dat")), old_time);
    EXPECT_EQ(failure(CopyFileW(u"\\src.dat", u"\\copy.dat", TRUE)), ERROR_FILE_EXISTS);
    EXPECT_EQ(failure(CopyFileW(u"\\src.dat", u"\\copy.dat", FALSE)), ERROR_ACCESS_DENIED);  // copy is read-only

    ASSERT_TRUE(write_file(u"\\plain.dat", "to be overwritten"));
    EXPECT_EQ(failure(CopyFileW(u"\\plain.dat", u"\\Plain.dat", FALSE)), ERROR_SHARING_VIOLATION);
    EXPECT_EQ(read_file(u"\\plain.dat"), "to be overwritten");
    EXPECT_TRUE(CopyFileW(u"\\src.dat", u"\\plain.dat", FALSE));
    EXPECT_EQ(read_file(u"\\plain.dat"), "payload");
}

TEST_F(FileOperationsTest, MoveCarriesAttributesOfEverythingMoved) {
    ASSERT_TRUE(CreateDirectoryW(u"\\Old"));
    ASSERT_TRUE(write_file(u"\\old\\a.dat", "a"));
    ASSERT_TRUE(SetFileAttributesW(u"\\old\\a.dat", FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(SetFileAttributesW(u"\\old", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(write_file(u"\\taken.dat", "t"));
    EXPECT_EQ(failure(MoveFileW(u"\\old\\a.dat", u"\\taken.dat")), ERROR_ALREADY_EXISTS);
    EXPECT_EQ(failure(MoveFileW(u"\\old", u"\\old\\inside")), ERROR_ACCESS_DENIED);
    EXPECT_EQ(failure(MoveFileW(u"\\old", u"\\nowhere\\x")), ERROR_PATH_NOT_FOUND);

    ASSERT_TRUE(MoveFileW(u"\\OLD", u"\\New"));
    EXPECT_EQ(GetFileAttributesW(u"\\new"), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(GetFileAttributesW(u"\\new\\a.dat"), FILE_ATTRIBUTE_SYSTEM);
    ASSERT_TRUE(CreateDirectoryW(u"\\old"));  // the old name's attributes went with it
    EXPECT_EQ(GetFileAttributesW(u"\\old"), FILE_ATTRIBUTE_DIRECTORY);

    ASSERT_TRUE(MoveFileW(u"\\new\\a.dat", u"\\new\\A.DAT"));  // a change of case
    EXPECT_TRUE(std::filesystem::exists(host_path("New/A.DAT")));
    EXPECT_FALSE(std::filesystem::exists(host_path("New/a.dat")));
    EXPECT_EQ(GetFileAttributesW(u"\\new\\a.dat"), FILE_ATTRIBUTE_SYSTEM);
}

TEST_F(FileOperationsTest, ReplaceSwapsContentsAndKeepsTheReplacedAttributes) {
    ASSERT_TRUE(write_file(u"\\alarms.db", "old"));
    ASSERT_TRUE(SetFileAttributesW(u"\\alarms.db", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(write_file(u"\\alarms.tmp", "new"));
    ASSERT_TRUE(SetFileAttributesW(u"\\alarms.tmp", FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(ReplaceFileW(u"\\ALARMS.DB", u"\\alarms.tmp"));
    EXPECT_EQ(read_file(u"\\alarms.db"), "new");
    EXPECT_EQ(GetFileAttributesW(u"\\alarms.db"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(GetFileAttributesW(u"\\alarms.tmp"), INVALID_FILE_ATTRIBUTES);

    EXPECT_EQ(failure(ReplaceFileW(u"\\alarms.db", u"\\alarms.tmp")), ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(write_file(u"\\alarms.tmp", "newer"));
    EXPECT_EQ(failure(ReplaceFileW(u"\\missing.db", u"\\alarms.tmp")), ERROR_FILE_NOT_FOUND);
    ASSERT_TRUE(SetFileAttributesW(u"\\alarms.db", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(failure(ReplaceFileW(u"\\alarms.db", u"\\alarms.tmp")), ERROR_ACCESS_DENIED);
    EXPECT_EQ(read_file(u"\\alarms.db") + read_file(u"\\alarms.tmp"), "newnewer");
}

TEST_F(FileOperationsTest, FoldersAreCreatedOnceAndRemovedOnlyWhenEmpty) {
    EXPECT_EQ(failure(CreateDirectoryW(u"\\a\\b")), ERROR_PATH_NOT_FOUND);
    ASSERT_TRUE(CreateDirectoryW(u"\\a"));
    EXPECT_EQ(failure(CreateDirectoryW(u"\\A")), ERROR_ALREADY_EXISTS);
    ASSERT_TRUE(write_file(u"\\a\\f.dat", "x"));
    EXPECT_EQ(failure(RemoveDirectoryW(u"\\a")), ERROR_DIR_NOT_EMPTY);
    EXPECT_EQ(failure(DeleteFileW(u"\\a")), ERROR_ACCESS_DENIED);
    ASSERT_TRUE(DeleteFileW(u"\\a\\f.dat"));
    EXPECT_TRUE(RemoveDirectoryW(u"\\A"));
    EXPECT_EQ(failure(RemoveDirectoryW(u"\\a")), ERROR_FILE_NOT_FOUND);
}

}  // namespace
