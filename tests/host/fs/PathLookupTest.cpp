// Device paths: case-insensitive lookup, spelling of new entries, and names that must
// never reach the host.

#include <fstream>

#include "FileTesting.h"
#include "TempDevice.h"
#include "host/fs/DevicePath.h"

namespace {

using fs_testing::open_failure;
using fs_testing::read_file;
using fs_testing::write_file;

class PathLookupTest : public testing_support::TempDevice {};

TEST_F(PathLookupTest, FindsEntriesWhateverTheCaseAndKeepsTheGivenSpelling) {
    ASSERT_TRUE(ce::CreateDirectoryW(u"\\Program Files"));
    ASSERT_TRUE(ce::CreateDirectoryW(u"\\PROGRAM FILES\\KIVO"));
    ASSERT_TRUE(write_file(u"program files\\kivo\\1.KIVO", "alarm"));  // no leading backslash: from the root
    EXPECT_EQ(read_file(u"\\pRoGrAm fIlEs\\Kivo\\1.kivo"), "alarm");
    EXPECT_TRUE(std::filesystem::exists(host_path("Program Files/KIVO/1.KIVO")));

    ASSERT_TRUE(write_file(u"\\Ärger ΣΟΦΙΑ.txt", "unicode"));
    EXPECT_EQ(read_file(u"\\ärger σοφια.TXT"), "unicode");
}

TEST_F(PathLookupTest, PrefersTheExactSpellingWhenSeveralFoldAlike) {
    std::ofstream(host_path("a.txt")) << "lower";
    std::ofstream(host_path("A.txt")) << "upper";
    EXPECT_EQ(read_file(u"\\a.txt"), "lower");
    EXPECT_EQ(read_file(u"\\A.txt"), "upper");
}

TEST_F(PathLookupTest, TellsAMissingFolderFromAMissingFile) {
    ASSERT_TRUE(write_file(u"\\file.txt", "x"));
    EXPECT_EQ(open_failure(u"\\missing.txt", ce::GENERIC_READ), ce::ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(open_failure(u"\\nowhere\\missing.txt", ce::GENERIC_READ), ce::ERROR_PATH_NOT_FOUND);
    EXPECT_EQ(open_failure(u"\\file.txt\\inside.txt", ce::GENERIC_READ), ce::ERROR_PATH_NOT_FOUND);
}

struct UnsafePath {
    const char* name;
    std::u16string path;
    friend void PrintTo(const UnsafePath& row, std::ostream* out) { *out << row.name; }
};

class UnsafePathTest : public testing_support::TempDevice, public testing::WithParamInterface<UnsafePath> {};

TEST_P(UnsafePathTest, IsRefusedAsAnInvalidNameAndCreatesNothing) {
    ASSERT_TRUE(ce::CreateDirectoryW(u"\\a"));
    EXPECT_EQ(host::DevicePath::parse(std::u16string_view(GetParam().path)).error(), ce::ERROR_INVALID_NAME);
    EXPECT_EQ(open_failure(GetParam().path.c_str(), ce::GENERIC_WRITE, 0, ce::CREATE_ALWAYS), ce::ERROR_INVALID_NAME);
    EXPECT_EQ(fs_testing::failure(ce::CreateDirectoryW(GetParam().path.c_str())), ce::ERROR_INVALID_NAME);
    EXPECT_FALSE(std::filesystem::exists(device_root() / "escape.txt"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(device_root() / "fs"), {}), 1);
    EXPECT_TRUE(std::filesystem::is_empty(host_path("a")));
}

using U = UnsafePath;
INSTANTIATE_TEST_SUITE_P(Names, UnsafePathTest,
                         testing::Values(U{"ParentOfRoot", u"\\..\\escape.txt"}, U{"ParentInside", u"\\a\\..\\..\\x"},
                                         U{"Slash", u"\\a/b"}, U{"Less", u"\\a\\x<y"}, U{"Colon", u"\\c:x"},
                                         U{"Pipe", u"\\x|y"}, U{"Question", u"\\x?"}, U{"Star", u"\\a\\*"},
                                         U{"Control", u"\\x\x01y"}, U{"LoneSurrogate", u"\\x\xD800y"},
                                         U{"LongerThanMaxPath", u"\\" + std::u16string(300, u'n')},
                                         U{"NameTooLongForHost", u"\\" + std::u16string(90, u'€')}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(PathLookupTest, RefusesALinkLeadingOutOfTheDevice) {
    const auto outside = device_root() / "outside";
    std::filesystem::create_directory(outside);
    std::filesystem::create_directory_symlink(outside, host_path("out"));
    std::filesystem::create_directory_symlink(host_path("real"), host_path("in"));
    ASSERT_TRUE(ce::CreateDirectoryW(u"\\real"));

    EXPECT_EQ(open_failure(u"\\out\\x.txt", ce::GENERIC_WRITE, 0, ce::CREATE_NEW), ce::ERROR_ACCESS_DENIED);
    EXPECT_FALSE(std::filesystem::exists(outside / "x.txt"));
    EXPECT_TRUE(write_file(u"\\in\\x.txt", "inside"));
    EXPECT_EQ(read_file(u"\\real\\x.txt"), "inside");
}

TEST_F(PathLookupTest, ConvertsHostPathsBackAndRefusesNulInsideANameGivenWithItsLength) {
    const auto inside = host::DevicePath::from_host(host_path("Program Files/KIVO/1.kivo"));
    EXPECT_EQ(inside.text(), u"\\Program Files\\KIVO\\1.kivo");
    EXPECT_EQ(inside.key(), "\\program files\\kivo\\1.kivo");
    EXPECT_FALSE(host::DevicePath::from_host(device_root() / "device.db").valid());
    // Only a caller passing a length can put a NUL inside a name.
    EXPECT_EQ(host::DevicePath::parse(std::u16string_view(u"\\a\0b", 4)).error(), ce::ERROR_INVALID_NAME);
}

}  // namespace
