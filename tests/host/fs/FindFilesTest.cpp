// Listing folders with patterns, as the alarm store and the setup program do.

#include <set>
#include <vector>

#include "FileTesting.h"
#include "TempDevice.h"
#include "ce/Text.h"

namespace {

using namespace ce;

class FindFilesTest : public testing_support::TempDevice {
protected:
    void SetUp() override {
        TempDevice::SetUp();
        ASSERT_TRUE(CreateDirectoryW(u"\\Alarms"));
        ASSERT_TRUE(CreateDirectoryW(u"\\Alarms\\Sub"));
        for (const char16_t* name : {u"\\alarms\\1.KIVO", u"\\alarms\\2.kivo", u"\\alarms\\readme.txt",
                                     u"\\alarms\\noext", u"\\alarms\\a.b.c"})
            ASSERT_TRUE(fs_testing::write_file(name, "12345"));
    }

    // The names found, in the order found; a failure as "error N".
    static std::vector<std::string> find(const char16_t* pattern) {
        WIN32_FIND_DATAW data;
        const HANDLE search = FindFirstFileW(pattern, &data);
        if (search == INVALID_HANDLE_VALUE) return {"error " + std::to_string(GetLastError())};
        std::vector<std::string> names;
        do names.push_back(utf8_from_utf16(data.cFileName));
        while (FindNextFileW(search, &data));
        EXPECT_EQ(GetLastError(), ERROR_NO_MORE_FILES);
        EXPECT_TRUE(FindClose(search));
        return names;
    }
};

TEST_F(FindFilesTest, PatternsMatchLikeTheDevice) {
    using Names = std::set<std::string>;
    const Names all{"1.KIVO", "2.kivo", "readme.txt", "noext", "a.b.c", "Sub"};
    const struct {
        const char16_t* pattern;
        Names expected;
    } cases[] = {
        {u"\\alarms\\*", all},
        {u"\\ALARMS\\*.*", all},
        {u"\\alarms\\*.kivo", {"1.KIVO", "2.kivo"}},
        {u"\\alarms\\?.KiVo", {"1.KIVO", "2.kivo"}},
        {u"\\alarms\\README.*", {"readme.txt"}},
        {u"\\alarms\\noext.*", {"noext"}},
        {u"\\alarms\\*.c", {"a.b.c"}},
        {u"\\alarms\\*x*", {"readme.txt", "noext"}},
        {u"\\alarms\\sub", {"Sub"}},
        {u"\\alarms\\??.kivo", {"error 2"}},
        {u"\\missing\\*", {"error 3"}},
        {u"\\alarms\\a|b", {"error 123"}},
    };
    for (const auto& c : cases) {
        const auto found = find(c.pattern);
        EXPECT_EQ(Names(found.begin(), found.end()), c.expected) << utf8_from_utf16(c.pattern);
        EXPECT_EQ(found.size(), c.expected.size()) << "listed twice: " << utf8_from_utf16(c.pattern);
    }
}

TEST_F(FindFilesTest, ListsInFileSystemOrderWithSizesAttributesAndTimes) {
    std::vector<std::string> host_order;
    for (const auto& entry : std::filesystem::directory_iterator(host_path("Alarms")))  // readdir's order
        host_order.push_back(entry.path().filename().string());
    EXPECT_EQ(find(u"\\alarms\\*"), host_order);

    ASSERT_TRUE(SetFileAttributesW(u"\\alarms\\noext", FILE_ATTRIBUTE_HIDDEN));
    WIN32_FIND_DATAW data;
    fs_testing::ScopedHandle search(FindFirstFileW(u"\\alarms\\NOEXT", &data));
    ASSERT_TRUE(fs_testing::valid(search));
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_HIDDEN);
    EXPECT_EQ(data.nFileSizeLow, 5u);
    EXPECT_GT(data.ftLastWriteTime.dwHighDateTime, 0x01D00000u);  // after 2014
    EXPECT_EQ(fs_testing::failure(FindNextFileW(search.get(), nullptr)), ERROR_INVALID_PARAMETER);
    fs_testing::ScopedHandle folder(FindFirstFileW(u"\\alarms\\sub", &data));
    EXPECT_EQ(data.dwFileAttributes, FILE_ATTRIBUTE_DIRECTORY);
}

// The reschedule's listing: the same entries as a standard search, telling only the name
// and which is a folder, even of a file whose attributes are set.
TEST_F(FindFilesTest, ANamesOnlySearchFindsTheSameEntriesAndTellsOnlyTheFolders) {
    ASSERT_TRUE(SetFileAttributesW(u"\\alarms\\noext", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_READONLY));
    std::vector<std::string> names;
    WIN32_FIND_DATAW data;
    const HANDLE search = FindFirstFileExW(u"\\alarms\\*", FindExInfoNames, &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    do {
        const std::string name = utf8_from_utf16(data.cFileName);
        names.push_back(name);
        EXPECT_EQ(data.dwFileAttributes, name == "Sub" ? FILE_ATTRIBUTE_DIRECTORY : 0u) << name;
        EXPECT_EQ(data.nFileSizeLow, 0u) << name;
    } while (FindNextFileW(search, &data));
    EXPECT_TRUE(FindClose(search));
    EXPECT_EQ(names, find(u"\\alarms\\*"));

    EXPECT_EQ(FindFirstFileExW(u"\\alarms\\*", static_cast<FINDEX_INFO_LEVELS>(7), &data), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
}

}  // namespace
