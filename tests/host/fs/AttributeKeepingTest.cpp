// Where the handheld keeps what it knows of its files: attributes beside each file (its
// extended attribute) with device.db as the fall-back, sharing state on the open files
// themselves, nothing made in run/ for them, and a mapping that keeps no sharing once
// its file's handle is closed.

#include <sys/mount.h>
#include <sys/xattr.h>

#include <fstream>

#include "FileTesting.h"
#include "TempDevice.h"
#include "ce/FileMapping.h"
#include "host/Database.h"
#include "host/Device.h"

namespace {

using namespace fs_testing;
using namespace ce;

class AttributeKeeping : public testing_support::TempDevice {
protected:
    std::string beside(const std::string& relative) const {
        char text[32] = {};
        const ssize_t length = getxattr(host_path(relative).c_str(), "user.kivo.attributes", text, sizeof text);
        return length < 0 ? "<none>" : std::string(text, static_cast<std::size_t>(length));
    }
    host::Database& database() { return host::Device::current().database(); }
    void put_row(const std::string& key, DWORD attributes) {
        host::Statement insert(database().handle(), "INSERT INTO file_attributes (path, attributes) VALUES (?1, ?2)");
        insert.bind(1, key).bind(2, static_cast<std::int64_t>(attributes));
        ASSERT_TRUE(insert.run());
    }
    int rows(const std::string& key) {
        host::Statement count(database().handle(), "SELECT count(*) FROM file_attributes WHERE path = ?1");
        count.bind(1, key);
        return count.step() == SQLITE_ROW ? static_cast<int>(count.column_int(0)) : -1;
    }
    std::vector<std::string> share_files() const {
        std::vector<std::string> names;
        std::error_code ignored;
        for (const auto& entry : std::filesystem::directory_iterator(device_root() / "run" / "share", ignored))
            names.push_back(entry.path().filename().string());
        return names;
    }
};

TEST_F(AttributeKeeping, AttributesLiveBesideTheFileAndGoWithIt) {
    ScopedHandle created(CreateFileW(u"\\Kept.dat", GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(valid(created));
    created.reset();
    EXPECT_EQ(beside("Kept.dat"), std::to_string(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(rows("\\kept.dat"), 0) << "no database row where the file keeps them";
    ASSERT_TRUE(write_file(u"\\kept.new", "new"));
    ASSERT_TRUE(ReplaceFileW(u"\\kept.dat", u"\\kept.new"));
    EXPECT_EQ(GetFileAttributesW(u"\\KEPT.DAT"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    ASSERT_TRUE(MoveFileW(u"\\kept.dat", u"\\moved.dat"));
    EXPECT_EQ(GetFileAttributesW(u"\\moved.dat"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    std::ofstream(host_path("Kept.dat")) << "put there by hand";
    EXPECT_EQ(GetFileAttributesW(u"\\kept.dat"), FILE_ATTRIBUTE_ARCHIVE) << "a new file has none of the old's";
}

// A handheld made before attributes were kept beside the files has them as rows only.
TEST_F(AttributeKeeping, RowsOfAnEarlierHandheldStillCountUntilTheFileKeepsItsOwn) {
    std::ofstream(host_path("old.dat")) << "from before";
    put_row("\\old.dat", FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(GetFileAttributesW(u"\\OLD.dat"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_SYSTEM);
    EXPECT_EQ(open_failure(u"\\old.dat", GENERIC_WRITE), ERROR_ACCESS_DENIED);
    ASSERT_TRUE(SetFileAttributesW(u"\\old.dat", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(beside("old.dat"), "0");
    EXPECT_EQ(rows("\\old.dat"), 0) << "the row would come back should the file lose its own";
    ASSERT_TRUE(write_file(u"\\old.dat", "rewritten"));
    EXPECT_EQ(GetFileAttributesW(u"\\old.dat"), FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(AttributeKeeping, OpenFilesMakeNoLockFilesAndAHeldMappingNoSharing) {
    ASSERT_TRUE(write_file(u"\\a.wav", "RIFF...."));
    {
        const auto reader = open_file(u"\\a.wav", GENERIC_READ, FILE_SHARE_READ);
        ASSERT_TRUE(valid(reader));
        EXPECT_EQ(open_failure(u"\\a.wav", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE), ERROR_SHARING_VIOLATION);
        for (const auto& name : share_files()) EXPECT_EQ(name, "guard");
    }
    HANDLE file = CreateFileForMappingW(u"\\a.wav", GENERIC_READ, 0, OPEN_EXISTING);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
    ASSERT_NE(mapping, nullptr);
    EXPECT_EQ(open_failure(u"\\a.wav", GENERIC_WRITE, FILE_SHARE_READ), ERROR_SHARING_VIOLATION);
    CloseHandle(file);
    EXPECT_EQ(open_failure(u"\\a.wav", GENERIC_WRITE, FILE_SHARE_READ), kSucceeded)
        << "the sharing went with the file's handle, the mapping still open";
    CloseHandle(mapping);
    for (const auto& name : share_files()) EXPECT_EQ(name, "guard");
}

// ramfs keeps no extended attributes: the attributes go to device.db and still hold.
TEST_F(AttributeKeeping, AFileSystemWithoutExtendedAttributesFallsBackToTheDatabase) {
    const auto folder = host_path("ram");
    std::filesystem::create_directory(folder);
    if (mount("kivo-test", folder.c_str(), "ramfs", 0, nullptr) != 0) GTEST_SKIP() << "cannot mount a ramfs here";
    struct Unmount {
        std::filesystem::path folder;
        ~Unmount() { umount2(folder.c_str(), MNT_DETACH); }
    } unmount{folder};
    ScopedHandle created(CreateFileW(u"\\ram\\x.dat", GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(valid(created));
    created.reset();
    EXPECT_EQ(beside("ram/x.dat"), "<none>");
    EXPECT_EQ(rows("\\ram\\x.dat"), 1);
    EXPECT_EQ(GetFileAttributesW(u"\\RAM\\X.DAT"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(open_failure(u"\\ram\\x.dat", GENERIC_WRITE), ERROR_ACCESS_DENIED);
    ASSERT_TRUE(SetFileAttributesW(u"\\ram\\x.dat", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(write_file(u"\\ram\\x.new", "new"));
    ASSERT_TRUE(ReplaceFileW(u"\\ram\\x.dat", u"\\ram\\x.new"));
    EXPECT_EQ(GetFileAttributesW(u"\\ram\\x.dat"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(rows("\\ram\\x.new"), 0);
    ASSERT_TRUE(DeleteFileW(u"\\ram\\x.dat"));
    EXPECT_EQ(rows("\\ram\\x.dat"), 0);
}

}  // namespace
