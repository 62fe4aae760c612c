#include <gtest/gtest.h>

#include "CodebaseTesting.h"
#include "ce/Files.h"
#include "irlib/card/codebase.h"
#include "irlib/card/codebase_writer.h"
#include "irlib/card/result_codes.h"

namespace {

using namespace codebase_testing;
using namespace platform::card;

class CodebaseWriter : public CodebaseFolder {};

Bytes record_bytes(const codebase& base, int index) {
    const auto bytes = base.record(index);
    return Bytes(bytes.begin(), bytes.end());
}

TEST_F(CodebaseWriter, CommitWritesTheListAfreshAndKeepsTheHeader) {
    Bytes file = codebase_image({"TV", 100}, {Bytes{1, 2, 3}, signal_record_bytes("On")});
    for (std::size_t i = 32; i < 60; ++i) file[i] = static_cast<std::uint8_t>(i);  // attributes, dates, ...
    pdb::write_be16(&file[pdb::kVersionOffset], 100);                            // ... but a version it opens
    for (std::size_t i = 68; i < 76; ++i) file[i] = static_cast<std::uint8_t>(0xF0 + i - 68);  // seed, next list
    file[pdb::kHeaderSize + 4] = 0x13;                           // record attributes and unique
    file[pdb::kHeaderSize + 7] = 0x77;                           // identifiers of another writer
    install("tv.pdb", file);

    codebase_writer writer;
    ASSERT_EQ(writer.open("TV"), kOk);
    const Bytes macro = macro_record("Alarm", {9, 9, 9});
    ASSERT_EQ(writer.put_macro("Alarm", macro), kOk);
    ASSERT_EQ(writer.commit(), kOk);

    Bytes expected(file.begin(), file.begin() + 76);
    const Bytes signal = signal_record_bytes("On");
    expected.insert(expected.end(), {0, 3});
    const std::uint32_t first = 80 + 8 * 3;
    const std::uint32_t offsets[3] = {first, first + 3, first + 3 + static_cast<std::uint32_t>(signal.size())};
    for (std::uint8_t i = 0; i < 3; ++i) {
        std::uint8_t entry[8] = {0, 0, 0, 0, 0x40, 0, 0, i};
        pdb::write_be32(entry, offsets[i]);
        expected.insert(expected.end(), entry, entry + 8);
    }
    expected.insert(expected.end(), {0, 0, 1, 2, 3});
    expected.insert(expected.end(), signal.begin(), signal.end());
    expected.insert(expected.end(), macro.begin(), macro.end());
    EXPECT_EQ(file_bytes("tv.pdb"), expected);
}

TEST_F(CodebaseWriter, CreatedCodebaseRoundTrips) {
    ASSERT_EQ(registry().create_codebase("7012", Bytes{0, 0, 0, 0}), kOk);
    {
        codebase_writer writer;
        ASSERT_EQ(writer.open("7012"), kOk);
        ASSERT_GE(writer.append_record(signal_record_bytes("IR1")), 1);
        ASSERT_EQ(writer.put_macro("Alarm", macro_record("Alarm")), kOk);
        ASSERT_EQ(writer.commit(), kOk);
    }
    EXPECT_EQ(file_bytes("7012.pdb").size(), 80 + 3 * 8 + 4 + signal_record_bytes("IR1").size() + macro_record("Alarm").size());
    registry().rescan();
    codebase reader;
    ASSERT_EQ(reader.open("7012"), kOk);
    EXPECT_EQ(reader.record_count(), 3);
    EXPECT_EQ(record_bytes(reader, 0), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(record_bytes(reader, reader.find_signal("IR1")), signal_record_bytes("IR1"));
    EXPECT_EQ(record_bytes(reader, reader.find_macro("Alarm")), macro_record("Alarm"));
}

TEST_F(CodebaseWriter, EmptyDatabaseCommitsWithItsGap) {
    install("tv.pdb", codebase_image({}, {}));
    codebase_writer writer;
    ASSERT_EQ(writer.open("TV"), kOk);
    ASSERT_EQ(writer.commit(), kOk);
    EXPECT_EQ(file_bytes("tv.pdb"), [] { Bytes b = codebase_image({}, {}); b.resize(80, 0); return b; }());
}

TEST_F(CodebaseWriter, PutMacroReplacesTheMacroOfThatNameOrAppends) {
    install("tv.pdb", codebase_image({}, {Bytes{0, 0, 0, 0}, macro_record("Alarm"), signal_record_bytes("Alarm")}));
    codebase_writer writer;
    ASSERT_EQ(writer.open("TV"), kOk);
    const Bytes replacement = macro_record("Alarm", Bytes(40, 5));
    ASSERT_EQ(writer.put_macro("Alarm", replacement), kOk);
    EXPECT_EQ(writer.record_count(), 3);
    EXPECT_EQ(record_bytes(writer, 1), replacement);
    EXPECT_EQ(writer.find_signal("Alarm"), 2) << "a signal of the same name is not a macro";

    ASSERT_EQ(writer.put_macro("Evening", macro_record("Evening")), kOk);
    EXPECT_EQ(writer.record_count(), 4);
    EXPECT_EQ(writer.find_macro("Evening"), 3);
    ASSERT_EQ(writer.put_macro("Evening", macro_record("Evening", {1})), kOk);
    EXPECT_EQ(writer.record_count(), 4);
    EXPECT_EQ(record_bytes(writer, 3), macro_record("Evening", {1}));
}

TEST_F(CodebaseWriter, IndexesFollowReplacedRecords) {
    install("tv.pdb", codebase_image({}, {Bytes{0, 0, 0, 0}, signal_record_bytes("Off"), signal_record_bytes("On")}));
    codebase_writer writer;
    ASSERT_EQ(writer.open("TV"), kOk);
    ASSERT_TRUE(writer.replace_record(1, signal_record_bytes("Mute")));
    EXPECT_EQ(writer.find_signal("Off"), -1);
    EXPECT_EQ(writer.find_signal("Mute"), 1);
    EXPECT_FALSE(writer.replace_record(3, signal_record_bytes("Mute")));
    EXPECT_FALSE(writer.replace_record(-1, signal_record_bytes("Mute")));
    ASSERT_TRUE(writer.replace_record(1, Bytes{}));
    EXPECT_EQ(writer.find_signal("Mute"), -1);
    EXPECT_TRUE(writer.record(1).empty());
}

TEST_F(CodebaseWriter, CloseDiscardsWhatWasNotCommitted) {
    const Bytes file = codebase_image({}, {Bytes{0, 0, 0, 0}, macro_record("Alarm")});
    install("tv.pdb", file);
    codebase_writer writer;
    ASSERT_EQ(writer.open("TV"), kOk);
    ASSERT_EQ(writer.put_macro("Alarm", macro_record("Alarm", {1, 2})), kOk);
    ASSERT_EQ(writer.append_record(signal_record_bytes("IR1")), 2);
    writer.close();
    EXPECT_EQ(file_bytes("tv.pdb"), file);
    EXPECT_EQ(writer.put_macro("Alarm", macro_record("Alarm")), kNotFound);
    EXPECT_EQ(writer.commit(), kNotFound);
    EXPECT_EQ(writer.append_record(signal_record_bytes("IR1")), -1);
}

struct VersionCase {
    const char* label;
    std::uint32_t type;
    std::uint16_t version;
    int rule;
    std::uint16_t committed;
    friend void PrintTo(const VersionCase& row, std::ostream* out) { *out << row.label; }
};

class VersionRule : public CodebaseWriter, public testing::WithParamInterface<VersionCase> {};

TEST_P(VersionRule, OlderCodebasesAreRaisedToTheCurrentVersionOnCommit) {
    const VersionCase& test = GetParam();
    install("tv.pdb", codebase_image({"TV", test.version, test.type}, {Bytes{0, 0, 0, 0}}));
    codebase_writer writer;
    ASSERT_EQ(writer.open("TV"), kOk);
    EXPECT_EQ(writer.commit(), kOk);
    EXPECT_EQ(pdb::read_be16(&file_bytes("tv.pdb")[pdb::kVersionOffset]), test.committed);
    EXPECT_EQ(registry().find("TV")->version, test.committed);
    EXPECT_EQ(writer.apply_version_rule(), kVersionRuleNotApplicable) << "applied once, nothing more to do";

    writer.close();
    install("tv.pdb", codebase_image({"TV", test.version, test.type}, {Bytes{0, 0, 0, 0}}));
    ASSERT_EQ(writer.open("TV"), kOk);
    EXPECT_EQ(writer.apply_version_rule(), test.rule);
}

INSTANTIATE_TEST_SUITE_P(Versions, VersionRule,
                         testing::Values(VersionCase{"Version0", kCodebaseType, 0, kOk, 100},
                                         VersionCase{"Version99", kCodebaseType, 99, kOk, 100},
                                         VersionCase{"Version100", kCodebaseType, 100, kVersionRuleNotApplicable, 100},
                                         VersionCase{"TemporaryStaysOld", kTemporaryType, 50,
                                                     kVersionRuleNotApplicable, 50}),
                         [](const testing::TestParamInfo<VersionCase>& row) { return row.param.label; });

TEST_F(CodebaseWriter, FailedCommitKeepsTheStoredFileAndTheChanges) {
    const Bytes file = codebase_image({"TV", 90}, {Bytes{0, 0, 0, 0}, macro_record("Alarm")});
    install("tv.pdb", file);
    codebase_writer writer;
    ASSERT_EQ(writer.open("TV"), kOk);
    ASSERT_EQ(writer.put_macro("Alarm", macro_record("Alarm", {4, 4})), kOk);
    std::filesystem::create_directories(host_path("Alarms/tv.~db"));  // where the new contents would go
    EXPECT_EQ(writer.commit(), kCreateFailed);
    EXPECT_EQ(file_bytes("tv.pdb"), file);

    std::filesystem::remove(host_path("Alarms/tv.~db"));
    ASSERT_EQ(writer.commit(), kOk);
    EXPECT_EQ(record_bytes(writer, 1), macro_record("Alarm", {4, 4}));
    writer.close();
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(host_path("Alarms")), {}), 1) << "no staging file left";
    codebase reader;
    ASSERT_EQ(reader.open("TV"), kOk);
    EXPECT_EQ(record_bytes(reader, 1), macro_record("Alarm", {4, 4}));
    EXPECT_EQ(reader.version(), 100);
}

TEST_F(CodebaseWriter, FileStaysHeldAcrossCommits) {
    install("tv.pdb", codebase_image({}, {Bytes{0, 0, 0, 0}}));
    codebase_writer writer;
    ASSERT_EQ(writer.open("TV"), kOk);
    ASSERT_EQ(writer.commit(), kOk);
    EXPECT_FALSE(ce::DeleteFileW(u"\\Alarms\\tv.pdb"));
    codebase reader;
    EXPECT_EQ(reader.open("TV"), kOpenFailed);
    writer.close();
    EXPECT_EQ(reader.open("TV"), kOk);
}

}  // namespace
