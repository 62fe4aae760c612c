#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include "TempDevice.h"
#include "ce/Files.h"
#include "recordfile/CPDBMngr.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

// A database built by hand: the entries as given, then `data`.
Bytes image(const std::vector<pdb::RecordEntry>& entries, const Bytes& data) {
    Bytes bytes(pdb::kHeaderSize + pdb::kEntrySize * entries.size() + pdb::kGapSize, 0);
    pdb::write_be16(bytes.data() + pdb::kRecordCountOffset, static_cast<std::uint16_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
        pdb::write_be32(bytes.data() + pdb::kHeaderSize + 8 * i, entries[i].offset);
        bytes[pdb::kHeaderSize + 8 * i + 4] = entries[i].attributes;
    }
    bytes.insert(bytes.end(), data.begin(), data.end());
    return bytes;
}

class RecordFile : public testing_support::TempDevice {
protected:
    Bytes host_bytes(const std::string& name) const {
        std::ifstream in(host_path(name), std::ios::binary);
        return Bytes(std::istreambuf_iterator<char>(in), {});
    }
    void write_host_bytes(const std::string& name, const Bytes& bytes) const {
        std::ofstream out(host_path(name), std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    }
};

TEST_F(RecordFile, CreateWritesTheEmptyEightyByteLayout) {
    CPDBMngr file;
    ASSERT_EQ(file.Create(u"\\Morning Alarm.kivo"), 0);
    EXPECT_EQ(file.RecordCount(), 0);
    file.Close();

    Bytes expected(80, 0);
    const std::string name = "Morning Alarm";
    std::copy(name.begin(), name.end(), expected.begin());
    expected[32] = 0x03;
    expected[33] = 0x08;
    EXPECT_EQ(host_bytes("Morning Alarm.kivo"), expected);
}

TEST_F(RecordFile, CreateCutsTheDatabaseNameAtThirtyOneCharacters) {
    CPDBMngr file;
    ASSERT_EQ(file.Create(u"\\" + std::u16string(40, u'n') + u".pdb"), 0);
    file.Close();
    const Bytes bytes = host_bytes(std::string(40, 'n') + ".pdb");
    ASSERT_EQ(bytes.size(), 80u);
    EXPECT_EQ(std::string(bytes.begin(), bytes.begin() + 32), std::string(31, 'n') + '\0');
}

TEST_F(RecordFile, AddingAThreeByteRecordGivesTheNinetyTwoByteFile) {
    CPDBMngr file;
    ASSERT_EQ(file.Create(u"\\a.pdb"), 0);
    const std::uint8_t record[] = {0xAA, 0xBB, 0xCC};
    EXPECT_EQ(file.AddRecord(record, sizeof record), 0);
    EXPECT_EQ(file.RecordCount(), 1);
    file.Close();

    const Bytes bytes = host_bytes("a.pdb");
    ASSERT_EQ(bytes.size(), 92u);
    EXPECT_EQ(pdb::read_be16(&bytes[76]), 1);
    EXPECT_EQ(pdb::read_be32(&bytes[78]), 88u);
    EXPECT_EQ(bytes[82], 0x40);
    EXPECT_EQ(Bytes(bytes.begin() + 86, bytes.begin() + 88), (Bytes{0, 0}));
    EXPECT_EQ(Bytes(bytes.begin() + 88, bytes.end()), (Bytes{0xAA, 0xBB, 0xCC, 0x00}));
}

TEST_F(RecordFile, RecordsReadBackInOrderAfterReopening) {
    CPDBMngr file;
    ASSERT_EQ(file.Create(u"\\a.pdb"), 0);
    for (std::uint8_t i = 1; i <= 5; ++i) {
        const Bytes record(i, i);
        ASSERT_EQ(file.AddRecord(record.data(), record.size()), i - 1);
    }
    CPDBMngr reader;
    file.Close();
    ASSERT_EQ(reader.Open(u"\\A.PDB"), 0);
    ASSERT_EQ(reader.RecordCount(), 5);
    for (std::uint8_t i = 1; i <= 5; ++i) {
        Bytes expected(i, i);
        if (i % 2 != 0) expected.push_back(0);  // stored padded to an even length
        EXPECT_EQ(reader.ReadRecord(i - 1), expected) << "record " << int(i - 1);
    }
    EXPECT_TRUE(reader.ReadRecord(5).empty());
    EXPECT_TRUE(reader.ReadRecord(-1).empty());
}

TEST_F(RecordFile, DeletingShiftsLaterRecordsDown) {
    CPDBMngr file;
    ASSERT_EQ(file.Create(u"\\a.pdb"), 0);
    const Bytes first{1, 1}, second{2, 2};
    file.AddRecord(first.data(), first.size());
    file.AddRecord(second.data(), second.size());
    ASSERT_EQ(file.DeleteRecord(0), 0);
    EXPECT_EQ(file.RecordCount(), 1);
    EXPECT_EQ(file.ReadRecord(0), second);
    EXPECT_EQ(file.FileSize(), 90u);
}

TEST_F(RecordFile, DeleteRecordReportsEachFailure) {
    CPDBMngr file;
    EXPECT_EQ(file.DeleteRecord(0), CPDBMngr::kNotOpen);
    ASSERT_EQ(file.Create(u"\\a.pdb"), 0);
    const Bytes record{7, 7};
    file.AddRecord(record.data(), record.size());
    EXPECT_EQ(file.DeleteRecord(1), CPDBMngr::kBadIndex);
    EXPECT_EQ(file.DeleteRecord(-1), CPDBMngr::kBadIndex);
    EXPECT_EQ(file.AddRecord(nullptr, 4), -1);
}

TEST_F(RecordFile, KeepDeletedLeavesTheEntryAndReadsItAsEmpty) {
    CPDBMngr file(true);
    ASSERT_EQ(file.Create(u"\\a.pdb"), 0);
    const Bytes first{1, 1}, second{2, 2};
    file.AddRecord(first.data(), first.size());
    file.AddRecord(second.data(), second.size());
    ASSERT_EQ(file.DeleteRecord(0), 0);
    EXPECT_EQ(file.RecordCount(), 2);
    EXPECT_TRUE(file.ReadRecord(0).empty());
    EXPECT_EQ(file.ReadRecord(1), second);
    file.Close();
    const Bytes bytes = host_bytes("a.pdb");
    EXPECT_EQ(bytes[78 + 4], 0x80);  // the mark keeps only the low six bits
}

TEST_F(RecordFile, AReadOnlyFileIsOpenedForReadingAndNeverWritten) {
    write_host_bytes("ro.pdb", image({{88, 0x40, 0}}, {1, 2}));
    ASSERT_TRUE(ce::SetFileAttributesW(u"\\ro.pdb", ce::FILE_ATTRIBUTE_READONLY));
    const Bytes before = host_bytes("ro.pdb");

    CPDBMngr file;
    ASSERT_EQ(file.Open(u"\\ro.pdb"), 0);
    EXPECT_TRUE(file.IsReadOnly());
    EXPECT_EQ(file.ReadRecord(0), (Bytes{1, 2}));
    const Bytes record{9, 9};
    EXPECT_EQ(file.AddRecord(record.data(), record.size()), -1);
    EXPECT_EQ(file.DeleteRecord(0), CPDBMngr::kReadOnly);
    EXPECT_FALSE(file.SetType(0x41424344));
    file.Close();
    EXPECT_EQ(host_bytes("ro.pdb"), before);
}

TEST_F(RecordFile, RewritesKeepTheFileAttributesAndLeaveNoTemporaryFile) {
    CPDBMngr file;
    ASSERT_EQ(file.Create(u"\\a.pdb"), 0);
    file.Close();
    ASSERT_TRUE(ce::SetFileAttributesW(u"\\a.pdb", ce::FILE_ATTRIBUTE_HIDDEN));
    ASSERT_EQ(file.Open(u"\\a.pdb"), 0);
    const Bytes record{5, 5};
    ASSERT_EQ(file.AddRecord(record.data(), record.size()), 0);
    file.Close();
    EXPECT_EQ(ce::GetFileAttributesW(u"\\a.pdb"), ce::FILE_ATTRIBUTE_HIDDEN | ce::FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(host_path("")), {}), 1);
}

struct MalformedFile {
    const char* name;
    std::vector<std::uint8_t> bytes;
};

class MalformedRecordFile : public RecordFile, public ::testing::WithParamInterface<MalformedFile> {};

// Every malformed layout is read as "no record", refuses changes, and stays as it was.
TEST_P(MalformedRecordFile, ReadsNothingAndIsLeftUntouched) {
    write_host_bytes("bad.pdb", GetParam().bytes);
    CPDBMngr file;
    ASSERT_EQ(file.Open(u"\\bad.pdb"), 0);
    EXPECT_TRUE(file.ReadRecord(0).empty());
    const Bytes record{1, 2};
    EXPECT_EQ(file.AddRecord(record.data(), record.size()), -1);
    if (file.RecordCount() > 0) {
        EXPECT_EQ(file.DeleteRecord(0), CPDBMngr::kLoadFailed);
    }
    file.Close();
    EXPECT_EQ(host_bytes("bad.pdb"), GetParam().bytes);
}

Bytes truncated_header() { return Bytes(40, 0); }
Bytes count_beyond_file() {
    Bytes bytes(80, 0);
    pdb::write_be16(bytes.data() + 76, 500);
    return bytes;
}
Bytes offset_past_end() { return image({{400, 0x40, 0}}, {1, 2}); }
Bytes decreasing_offsets() { return image({{100, 0x40, 0}, {96, 0x40, 0}}, Bytes(12, 3)); }
Bytes offset_inside_list() { return image({{10, 0x40, 0}}, {1, 2}); }

INSTANTIATE_TEST_SUITE_P(Layouts, MalformedRecordFile,
                         ::testing::Values(MalformedFile{"TruncatedHeader", truncated_header()},
                                           MalformedFile{"CountBeyondFile", count_beyond_file()},
                                           MalformedFile{"OffsetPastEnd", offset_past_end()},
                                           MalformedFile{"DecreasingOffsets", decreasing_offsets()},
                                           MalformedFile{"OffsetInsideRecordList", offset_inside_list()}),
                         [](const ::testing::TestParamInfo<MalformedFile>& row) { return row.param.name; });

TEST_F(RecordFile, ZeroAndOddLengthRecordsReadAsStored) {
    // Record 0 is empty (same offset as record 1), record 1 has three bytes.
    write_host_bytes("odd.pdb", image({{96, 0x40, 0}, {96, 0x40, 0}}, {4, 5, 6}));
    CPDBMngr file;
    ASSERT_EQ(file.Open(u"\\odd.pdb"), 0);
    EXPECT_TRUE(file.ReadRecord(0).empty());
    EXPECT_EQ(file.ReadRecord(1), (Bytes{4, 5, 6}));
    // A rewrite pads the odd record and drops nothing.
    const Bytes record{8, 8};
    ASSERT_EQ(file.AddRecord(record.data(), record.size()), 2);
    EXPECT_EQ(file.ReadRecord(1), (Bytes{4, 5, 6, 0}));
    EXPECT_EQ(file.ReadRecord(2), record);
}

}  // namespace
