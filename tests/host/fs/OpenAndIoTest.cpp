// Opening files (dispositions, read-only, sharing within a process, archive) and the
// handle calls (reads, writes, positions, sizes), including the misuses callers make.

#include "FileTesting.h"
#include "TempDevice.h"

namespace {

using namespace fs_testing;
using namespace ce;

constexpr DWORD R = GENERIC_READ, W = GENERIC_WRITE, SR = FILE_SHARE_READ, SW = FILE_SHARE_WRITE;

class OpenAndIoTest : public testing_support::TempDevice {};

struct Disposition {
    const char* name;
    DWORD disposition;
    bool existed;
    DWORD error;           // the open's failure, or the last error it left when it opened
    std::string contents;  // afterwards
    friend void PrintTo(const Disposition& row, std::ostream* out) { *out << row.name; }
};

class DispositionTest : public testing_support::TempDevice, public testing::WithParamInterface<Disposition> {};

TEST_P(DispositionTest, OpensCreatesOrTruncatesAsAsked) {
    const auto& c = GetParam();
    if (c.existed) {
        ASSERT_TRUE(write_file(u"\\f.dat", "hello"));
    }
    const bool opened = valid(open_file(u"\\f.dat", R | W, 0, c.disposition));
    EXPECT_EQ(GetLastError(), c.error);
    EXPECT_EQ(opened, c.error == ERROR_SUCCESS || c.error == ERROR_ALREADY_EXISTS);
    EXPECT_EQ(read_file(u"\\f.dat"), c.contents);
}

using D = Disposition;
INSTANTIATE_TEST_SUITE_P(Dispositions, DispositionTest,
                         testing::Values(D{"CreateNewMissing", CREATE_NEW, false, ERROR_SUCCESS, ""},
                                         D{"CreateNewExisting", CREATE_NEW, true, ERROR_FILE_EXISTS, "hello"},
                                         D{"CreateAlwaysMissing", CREATE_ALWAYS, false, ERROR_SUCCESS, ""},
                                         D{"CreateAlwaysExisting", CREATE_ALWAYS, true, ERROR_ALREADY_EXISTS, ""},
                                         D{"OpenExistingMissing", OPEN_EXISTING, false, 2, "<error 2>"},
                                         D{"OpenExistingExisting", OPEN_EXISTING, true, ERROR_SUCCESS, "hello"},
                                         D{"OpenAlwaysMissing", OPEN_ALWAYS, false, ERROR_SUCCESS, ""},
                                         D{"OpenAlwaysExisting", OPEN_ALWAYS, true, ERROR_ALREADY_EXISTS, "hello"},
                                         D{"TruncateMissing", TRUNCATE_EXISTING, false, 2, "<error 2>"},
                                         D{"TruncateExisting", TRUNCATE_EXISTING, true, ERROR_SUCCESS, ""},
                                         D{"Unknown", 9, true, ERROR_INVALID_PARAMETER, "hello"}),
                         [](const auto& row) { return std::string(row.param.name); });

struct Sharing {
    const char* name;
    DWORD first_access, first_share, second_access, second_share;
    bool allowed;
    friend void PrintTo(const Sharing& row, std::ostream* out) { *out << row.name; }
};

class SharingTest : public testing_support::TempDevice, public testing::WithParamInterface<Sharing> {};

TEST_P(SharingTest, SecondHandleMustFitTheFirstsSharingUntilItCloses) {
    const auto& c = GetParam();
    ASSERT_TRUE(write_file(u"\\s.dat", "x"));
    auto first = open_file(u"\\s.dat", c.first_access, c.first_share);
    ASSERT_TRUE(valid(first));
    EXPECT_EQ(open_failure(u"\\S.DAT", c.second_access, c.second_share),
              c.allowed ? kSucceeded : ERROR_SHARING_VIOLATION);
    first.reset();
    EXPECT_EQ(open_failure(u"\\s.dat", c.second_access, c.second_share), kSucceeded);
}

INSTANTIATE_TEST_SUITE_P(Modes, SharingTest,
                         testing::Values(Sharing{"ReadersSharingRead", R, SR, R, SR, true},
                                         Sharing{"WriterAfterReaderRefusingWrite", R, SR, W, SR | SW, false},
                                         Sharing{"ReaderAfterExclusiveWriter", W, 0, R, SR | SW, false},
                                         Sharing{"WriterAfterFullSharing", R, SR | SW, W, SR | SW, true},
                                         Sharing{"ReaderRefusingWriteAfterWriter", W, SR | SW, R, SR, false},
                                         Sharing{"ReaderAfterWriterSharingRead", W, SR, R, SR | SW, true},
                                         Sharing{"NoAccessStillRefuses", 0, 0, R, SR | SW, false}),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(OpenAndIoTest, ReadOnlyFileRefusesEveryKindOfWrite) {
    ScopedHandle created(CreateFileW(u"\\ro.dat", W, 0, CREATE_NEW, FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(WriteFile(created.get(), "abc", 3, nullptr));  // the creating handle still writes
    created.reset();
    EXPECT_EQ(GetFileAttributesW(u"\\ro.dat"), FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_ARCHIVE);
    EXPECT_EQ(open_failure(u"\\ro.dat", W), ERROR_ACCESS_DENIED);
    EXPECT_EQ(open_failure(u"\\ro.dat", R, 0, CREATE_ALWAYS), ERROR_ACCESS_DENIED);
    EXPECT_EQ(failure(DeleteFileW(u"\\ro.dat")), ERROR_ACCESS_DENIED);
    EXPECT_EQ(read_file(u"\\ro.dat"), "abc");
}

TEST_F(OpenAndIoTest, ArchiveIsSetByCreatingAndByTheFirstWriteOnly) {
    ASSERT_TRUE(write_file(u"\\a.dat", "x"));
    EXPECT_EQ(GetFileAttributesW(u"\\a.dat"), FILE_ATTRIBUTE_ARCHIVE);
    ASSERT_TRUE(SetFileAttributesW(u"\\a.dat", FILE_ATTRIBUTE_HIDDEN));
    const auto file = open_file(u"\\a.dat", R | W);
    EXPECT_EQ(GetFileAttributesW(u"\\a.dat"), FILE_ATTRIBUTE_HIDDEN);  // opening for writing is not writing
    ASSERT_TRUE(WriteFile(file.get(), "y", 1, nullptr));
    EXPECT_EQ(GetFileAttributesW(u"\\a.dat"), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE);
}

TEST_F(OpenAndIoTest, ReadsWritesSeeksAndCutsLikeTheDevice) {
    auto file = open_file(u"\\io.dat", R | W, 0, CREATE_NEW);
    ASSERT_TRUE(WriteFile(file.get(), "hello world", 11, nullptr));
    char buffer[32] = {};
    DWORD done = 0;
    EXPECT_EQ(SetFilePointer(file.get(), -5, nullptr, FILE_END), 6u);
    EXPECT_TRUE(ReadFile(file.get(), buffer, sizeof buffer, &done));  // short read at the end is success
    EXPECT_EQ(std::string(buffer, done), "world");
    EXPECT_EQ(SetFilePointer(file.get(), -20, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), ERROR_NEGATIVE_SEEK);
    EXPECT_EQ(SetFilePointer(file.get(), 0, nullptr, FILE_CURRENT), 11u);  // did not move
    LONG high = 1;
    EXPECT_EQ(SetFilePointer(file.get(), 2, &high, FILE_BEGIN), 2u);
    EXPECT_EQ(high, 1);
    EXPECT_EQ(SetFilePointer(file.get(), 0, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);  // beyond 32 bits
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(SetFilePointer(file.get(), 5, nullptr, FILE_BEGIN), 5u);
    EXPECT_TRUE(SetEndOfFile(file.get()));
    EXPECT_EQ(GetFileSize(file.get(), nullptr), 5u);
    file.reset();
    EXPECT_EQ(read_file(u"\\io.dat"), "hello");
}

TEST_F(OpenAndIoTest, MisusedHandlesAndPointersFailCleanly) {
    ASSERT_TRUE(CreateDirectoryW(u"\\dir"));
    EXPECT_EQ(open_failure(u"\\DIR", R), ERROR_ACCESS_DENIED);
    EXPECT_EQ(open_failure(nullptr, R), ERROR_INVALID_PARAMETER);
    ASSERT_TRUE(write_file(u"\\h.dat", "data"));
    const auto reader = open_file(u"\\h.dat", R, SR | SW);
    const auto writer = open_file(u"\\h.dat", W, SR | SW);
    char buffer[4];
    EXPECT_EQ(failure(WriteFile(reader.get(), "x", 1, nullptr)), ERROR_ACCESS_DENIED);
    EXPECT_EQ(failure(ReadFile(writer.get(), buffer, 4, nullptr)), ERROR_ACCESS_DENIED);
    EXPECT_EQ(failure(WriteFile(writer.get(), nullptr, 4, nullptr)), ERROR_INVALID_PARAMETER);
    WIN32_FIND_DATAW found;
    ScopedHandle search(FindFirstFileW(u"\\*", &found));
    for (HANDLE bad : {HANDLE{nullptr}, INVALID_HANDLE_VALUE, search.get(), reinterpret_cast<HANDLE>(&found)}) {
        EXPECT_EQ(failure(ReadFile(bad, buffer, 4, nullptr)), ERROR_INVALID_HANDLE);
        EXPECT_EQ(GetFileSize(bad, nullptr), INVALID_FILE_SIZE);
    }
    EXPECT_EQ(failure(FindClose(reader.get())), ERROR_INVALID_HANDLE);  // a file is not a search
}

}  // namespace
