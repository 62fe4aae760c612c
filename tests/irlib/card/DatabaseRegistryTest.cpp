#include <gtest/gtest.h>

#include "CodebaseTesting.h"
#include "ce/Files.h"
#include "ce/Text.h"
#include "irlib/card/result_codes.h"

namespace {

using namespace codebase_testing;
using namespace platform::card;

class Registry : public CodebaseFolder {};

TEST_F(Registry, CreatedCodebaseWithFourByteHeaderRecordIsNinetyTwoBytes) {
    ASSERT_EQ(registry().create_codebase("TV", Bytes{0, 0, 0, 0}), kOk);

    Bytes expected(92, 0);
    expected[0] = 'T';
    expected[1] = 'V';
    expected[35] = 100;
    std::copy_n("Alr1xIrv", 8, expected.begin() + 60);
    expected[77] = 1;     // one record
    expected[81] = 88;    // at offset 88
    expected[82] = 0x40;  // unique identifier 0 follows
    EXPECT_EQ(file_bytes("TV.pdb"), expected);
    EXPECT_TRUE(registry().codebase_exists("TV"));
    EXPECT_EQ(registry().list_codebases(true), std::vector<std::string>{"TV"});
}

TEST_F(Registry, EmptyDatabaseIsTheSeventyEightByteHeader) {
    std::u16string path;
    ASSERT_EQ(registry().create_database("Temp one", kCreator, kTemporaryType, 7, &path), kOk);
    EXPECT_EQ(path, u"\\Alarms\\Temp_one.pdb");
    EXPECT_EQ(file_bytes("Temp_one.pdb"), codebase_image({"Temp one", 7, kTemporaryType, kCreator}, {}));
}

TEST_F(Registry, NamesOfThirtyTwoCharactersOrMoreAreCutToThirtyOne) {
    const std::string long_name(40, 'x');
    ASSERT_EQ(registry().create_codebase(long_name, Bytes{0, 0, 0, 0}), kOk);
    const Bytes created = file_bytes(std::string(31, 'x') + ".pdb");
    ASSERT_EQ(created.size(), 92u);
    EXPECT_EQ(std::string(created.begin(), created.begin() + 32), std::string(31, 'x') + '\0');
    EXPECT_EQ(created[33], 0) << "attributes stay zero";
    EXPECT_EQ(created[35], 100) << "the version is not overwritten";

    ASSERT_EQ(registry().copy_codebase(long_name, std::string(35, 'y')), kOk);
    const Bytes copied = file_bytes(std::string(31, 'y') + ".pdb");
    ASSERT_EQ(copied.size(), 92u);
    EXPECT_EQ(std::string(copied.begin(), copied.begin() + 32), std::string(31, 'y') + '\0');
    EXPECT_EQ(Bytes(copied.begin() + 32, copied.end()), Bytes(created.begin() + 32, created.end()));

    // Whatever length a caller uses, the name found is the one the file holds.
    EXPECT_TRUE(registry().codebase_exists(std::string(31, 'y')));
    EXPECT_EQ(registry().list_codebases(true),
              (std::vector<std::string>{std::string(31, 'x'), std::string(31, 'y')}));
}

struct NamingCase {
    const char* label;
    std::vector<std::string> names;  // created in this order
    std::vector<std::string> files;  // the file each one gets
    friend void PrintTo(const NamingCase& row, std::ostream* out) { *out << row.label; }
};

class FileNaming : public Registry, public testing::WithParamInterface<NamingCase> {};

TEST_P(FileNaming, SanitisedNamesTakeTheFirstFreeSuffix) {
    const NamingCase& test = GetParam();
    for (std::size_t i = 0; i < test.names.size(); ++i) {
        ASSERT_EQ(registry().create_codebase(test.names[i], Bytes{0, 0, 0, 0}), kOk) << test.names[i];
        const Bytes bytes = file_bytes(test.files[i]);
        ASSERT_EQ(bytes.size(), 92u) << test.files[i];
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(bytes.data())), test.names[i]) << "unsanitised inside";
    }
    registry().rescan();
    for (std::size_t i = 0; i < test.names.size(); ++i) {
        const auto* entry = registry().find(test.names[i]);
        ASSERT_NE(entry, nullptr) << test.names[i];
        EXPECT_EQ(entry->path, u"\\Alarms\\" + ce::utf16_from_utf8(test.files[i]));
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, FileNaming,
    testing::Values(NamingCase{"ColonThenQuestionMark", {"TV:1", "TV?1"}, {"TV_1.pdb", "TV_1_1.pdb"}},
                    NamingCase{"EveryReplacedCharacter", {"a b\\c/d:e?f*g\"h<i>j|k"}, {"a_b_c_d_e_f_g_h_i_j_k.pdb"}},
                    NamingCase{"SuffixesCountUp", {"a b", "a:b", "a*b", "a_b_1"}, {"a_b.pdb", "a_b_1.pdb", "a_b_2.pdb", "a_b_1_1.pdb"}},
                    NamingCase{"AnsiTextBecomesUnicode", {"T\xE9l\xE9"}, {"T\xC3\xA9l\xC3\xA9.pdb"}}),
    [](const testing::TestParamInfo<NamingCase>& row) { return row.param.label; });

TEST_F(Registry, PathsReachingTwoHundredSixtyCharactersGive1021AndNoFile) {
    // "\Alarms\" + 245 characters + "\" + "n.pdb" is 259 characters: the longest path there is.
    const std::string folder = "Alarms/" + std::string(245, 'f');
    registry().set_codebase_folder(u"\\Alarms\\" + std::u16string(245, u'f'));
    ASSERT_EQ(registry().create_codebase("n", Bytes{}), kOk);
    EXPECT_TRUE(std::filesystem::exists(host_path(folder + "/n.pdb")));
    EXPECT_EQ(registry().create_codebase("n:", Bytes{}), kNoFreeFileName) << "n_.pdb would be 260 characters";
    EXPECT_EQ(registry().create_codebase("n", Bytes{}), kNoFreeFileName) << "n_1.pdb would be 261 characters";
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(host_path(folder)), {}), 1);
    EXPECT_EQ(registry().list_codebases(true), std::vector<std::string>{"n"});
}

TEST_F(Registry, FailedCreationLeavesNoFileAndKeepsTheEarlierEntry) {
    ASSERT_EQ(registry().create_codebase("TV", Bytes{1, 2}), kOk);
    // The first TV.pdb is taken, so the second goes to TV_1.pdb; its save is made to fail
    // by a folder where its new contents would be staged.
    std::filesystem::create_directories(host_path("Alarms/TV_1.~db"));
    EXPECT_EQ(registry().create_codebase("TV", Bytes{3, 4}), kCreateFailed);
    EXPECT_FALSE(file_there("TV_1.pdb"));
    const auto* entry = registry().find("TV");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->path, u"\\Alarms\\TV.pdb");

    std::filesystem::create_directories(host_path("Alarms/Radio.~db"));
    EXPECT_EQ(registry().create_codebase("Radio", Bytes{}), kCreateFailed);
    EXPECT_FALSE(file_there("Radio.pdb"));
    EXPECT_EQ(registry().find("Radio"), nullptr);
}

TEST_F(Registry, CreationMakesTheFolder) {
    registry().set_codebase_folder(u"\\\\\\New");  // leading backslashes count once
    EXPECT_EQ(registry().folder(), u"\\New\\");
    ASSERT_EQ(registry().create_codebase("a", Bytes{}), kOk);
    EXPECT_TRUE(std::filesystem::exists(host_path("New/a.pdb")));
}

TEST_F(Registry, RescanRegistersAcceptedFilesByHeaderName) {
    put_file("one.pdb", codebase_image({"Kitchen"}, {}));
    put_file("two.PDB", codebase_image({"Temporary", 100, kTemporaryType}, {}));
    put_file("three.pdb", codebase_image({"Other", 100, kCodebaseType, four_char_code("KIVO")}, {}));
    put_file("four.pdb", codebase_image({"Palm", 100, four_char_code("DATA")}, {}));
    Bytes short_file = codebase_image({"Short"}, {});
    short_file.resize(71);
    put_file("five.pdb", short_file);
    Bytes unterminated = codebase_image({std::string(32, 'u')}, {});
    put_file("six.pdb", unterminated);
    put_file("seven.pdb", codebase_image({"Padded" + std::string(26, ' ')}, {}));  // space-padded field
    put_file("eight.txt", codebase_image({"Text"}, {}));
    std::filesystem::create_directories(host_path("Alarms/dir.pdb"));
    Bytes header_only = codebase_image({"Header only"}, {});
    header_only.resize(72);  // 72 bytes suffice to be listed
    put_file("nine.pdb", header_only);

    EXPECT_EQ(registry().list_codebases(true), (std::vector<std::string>{"Header only", "Kitchen", "Padded"}));
    ASSERT_NE(registry().find("Temporary"), nullptr) << "temporary databases are registered, just not listed";
    EXPECT_EQ(registry().find("Temporary")->type, kTemporaryType);
    EXPECT_EQ(registry().find("Other"), nullptr);
    EXPECT_EQ(registry().find("Palm"), nullptr);
    EXPECT_EQ(registry().find("Short"), nullptr);
    EXPECT_EQ(registry().find(std::string(31, 'u')), nullptr);
    EXPECT_EQ(registry().find("Text"), nullptr);
}

TEST_F(Registry, ListIsInByteOrderOfTheNames) {
    for (const char* name : {"b", "B", "\xE9t\xE9", "a", "10", "9"}) ASSERT_EQ(registry().create_codebase(name, Bytes{}), kOk);
    EXPECT_EQ(registry().list_codebases(false), (std::vector<std::string>{"10", "9", "B", "a", "b", "\xE9t\xE9"}));
}

TEST_F(Registry, RescanClearsArchiveAndReadOnlyAttributes) {
    ASSERT_EQ(registry().create_codebase("TV", Bytes{}), kOk);
    ASSERT_TRUE(ce::SetFileAttributesW(u"\\Alarms\\TV.pdb", ce::FILE_ATTRIBUTE_READONLY | ce::FILE_ATTRIBUTE_ARCHIVE));
    registry().rescan();
    EXPECT_EQ(ce::GetFileAttributesW(u"\\Alarms\\TV.pdb"), ce::FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(registry().delete_codebase("TV"), kOk);
}

TEST_F(Registry, CopyHoldsTheNewNameAndTheSourcesEntryValues) {
    put_file("old.pdb", codebase_image({"A much longer source name", 42}, {Bytes{0, 0, 0, 0}, macro_record("Alarm")}));
    registry().rescan();
    ASSERT_EQ(registry().copy_codebase("A much longer source name", "Copy"), kOk);

    const Bytes source = file_bytes("old.pdb");
    Bytes expected = source;
    std::fill_n(expected.begin(), 32, 0);
    std::copy_n("Copy", 4, expected.begin());
    EXPECT_EQ(file_bytes("Copy.pdb"), expected);
    const auto* entry = registry().find("Copy");
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry->path, u"\\Alarms\\Copy.pdb");
    EXPECT_EQ(entry->version, 42);
    EXPECT_EQ(entry->type, kCodebaseType);
    registry().rescan();
    EXPECT_EQ(registry().list_codebases(false), (std::vector<std::string>{"A much longer source name", "Copy"}));
}

TEST_F(Registry, CopyFailures) {
    EXPECT_EQ(registry().copy_codebase("Missing", "Copy"), kNotFound);
    ASSERT_EQ(registry().create_codebase("TV", Bytes{}), kOk);
    std::filesystem::remove(host_path("Alarms/TV.pdb"));  // gone behind the registry's back
    EXPECT_EQ(registry().copy_codebase("TV", "Copy"), kCopyFailed);
    EXPECT_FALSE(file_there("Copy.pdb"));
    EXPECT_EQ(registry().find("Copy"), nullptr);
}

TEST_F(Registry, DeleteRemovesFileAndEntry) {
    ASSERT_EQ(registry().create_codebase("TV", Bytes{}), kOk);
    ASSERT_TRUE(ce::SetFileAttributesW(u"\\Alarms\\TV.pdb", ce::FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(registry().delete_codebase("TV"), kOk);
    EXPECT_FALSE(file_there("TV.pdb"));
    EXPECT_FALSE(registry().codebase_exists("TV"));
    EXPECT_EQ(registry().find("TV"), nullptr);
    EXPECT_EQ(registry().delete_codebase("TV"), kOk) << "a name not registered is no error";
}

TEST_F(Registry, DeleteOfAFileInUseFailsAndKeepsTheEntry) {
    ASSERT_EQ(registry().create_codebase("TV", Bytes{}), kOk);
    ce::HANDLE reader = ce::CreateFileW(u"\\Alarms\\TV.pdb", ce::GENERIC_READ, ce::FILE_SHARE_READ, ce::OPEN_EXISTING);
    ASSERT_NE(reader, ce::INVALID_HANDLE_VALUE);
    EXPECT_EQ(registry().delete_codebase("TV"), kDeleteFailed);
    EXPECT_TRUE(registry().codebase_exists("TV"));
    ce::CloseHandle(reader);
    EXPECT_EQ(registry().delete_codebase("TV"), kOk);
}

TEST_F(Registry, ExistsOnlyWhileTheFileIsThere) {
    ASSERT_EQ(registry().create_codebase("TV", Bytes{}), kOk);
    EXPECT_TRUE(registry().codebase_exists("TV"));
    EXPECT_FALSE(registry().codebase_exists("tv")) << "names compare byte for byte";
    std::filesystem::remove(host_path("Alarms/TV.pdb"));
    EXPECT_FALSE(registry().codebase_exists("TV"));
    EXPECT_EQ(registry().delete_codebase("TV"), kOk) << "a file already gone counts as deleted";
    EXPECT_EQ(registry().find("TV"), nullptr);
}

}  // namespace
