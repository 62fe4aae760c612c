// Read-only mapped views of the handheld's files, as the WAV player reads its sounds.

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "FileTesting.h"
#include "TempDevice.h"
#include "ce/FileMapping.h"

namespace {

using namespace fs_testing;

class Mapping : public testing_support::TempDevice {
protected:
    void put(const char16_t* path, const std::string& text) {
        auto file = open_file(path, ce::GENERIC_WRITE, 0, ce::CREATE_ALWAYS);
        ASSERT_TRUE(valid(file));
        ce::DWORD written = 0;
        ASSERT_TRUE(ce::WriteFile(file.get(), text.data(), static_cast<ce::DWORD>(text.size()), &written));
    }
    ce::HANDLE open_for_mapping(const char16_t* path) {
        return ce::CreateFileForMappingW(path, ce::GENERIC_READ, 0, ce::OPEN_EXISTING);
    }
};

TEST_F(Mapping, ViewShowsTheFileAndOutlivesItsHandles) {
    put(u"\\a.wav", "RIFF and some sound");
    ce::HANDLE file = open_for_mapping(u"\\a.wav");
    ASSERT_NE(file, ce::INVALID_HANDLE_VALUE);
    ce::HANDLE mapping = ce::CreateFileMappingW(file, nullptr, ce::PAGE_READONLY, 0, 0, nullptr);
    ASSERT_NE(mapping, nullptr);
    const auto* view = static_cast<const char*>(ce::MapViewOfFile(mapping, ce::FILE_MAP_READ, 0, 0, 0));
    ASSERT_NE(view, nullptr);
    EXPECT_EQ(open_failure(u"\\a.wav", ce::GENERIC_WRITE, ce::FILE_SHARE_READ), ce::ERROR_SHARING_VIOLATION)
        << "a file mapped without sharing refuses writers";
    ce::CloseHandle(mapping);
    ce::CloseHandle(file);
    EXPECT_EQ(std::string(view, 19), "RIFF and some sound");

    EXPECT_FALSE(ce::VirtualUnlock(view, 19)) << "pages that were never locked";
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_NOT_LOCKED);
    EXPECT_EQ(std::string(view, 4), "RIFF") << "pages given back are read again from the file";
    EXPECT_FALSE(ce::VirtualUnlock(view + 4096 * 16, 1));
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_INVALID_PARAMETER) << "outside the view";

    EXPECT_TRUE(ce::UnmapViewOfFile(view));
    EXPECT_FALSE(ce::UnmapViewOfFile(view));
}

TEST_F(Mapping, RefusesWhatCannotBeMappedReadOnly) {
    put(u"\\empty.wav", "");
    put(u"\\b.wav", "0123456789");
    ce::HANDLE empty = open_for_mapping(u"\\empty.wav");
    EXPECT_EQ(ce::CreateFileMappingW(empty, nullptr, ce::PAGE_READONLY, 0, 0, nullptr), nullptr);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_FILE_INVALID);
    ce::CloseHandle(empty);

    ce::HANDLE file = open_for_mapping(u"\\b.wav");
    EXPECT_EQ(ce::CreateFileMappingW(file, nullptr, 0x04 /* read-write */, 0, 0, nullptr), nullptr);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_NOT_SUPPORTED);
    EXPECT_EQ(ce::CreateFileMappingW(file, nullptr, ce::PAGE_READONLY, 0, 11, nullptr), nullptr)
        << "larger than the file";
    ce::HANDLE mapping = ce::CreateFileMappingW(file, nullptr, ce::PAGE_READONLY, 0, 0, nullptr);
    ASSERT_NE(mapping, nullptr);
    EXPECT_EQ(ce::MapViewOfFile(mapping, ce::FILE_MAP_READ, 0, 4096, 0), nullptr) << "offset off the 64 KB grid";
    EXPECT_EQ(ce::MapViewOfFile(mapping, ce::FILE_MAP_READ, 0, 0, 11), nullptr) << "beyond the mapping";
    EXPECT_EQ(ce::MapViewOfFile(mapping, 0x0002 /* write */, 0, 0, 0), nullptr);
    const void* part = ce::MapViewOfFile(mapping, ce::FILE_MAP_READ, 0, 0, 4);
    ASSERT_NE(part, nullptr);
    EXPECT_EQ(std::memcmp(part, "0123", 4), 0);
    ce::UnmapViewOfFile(part);
    ce::CloseHandle(mapping);
    ce::CloseHandle(file);

    ce::HANDLE writer = ce::CreateFileW(u"\\b.wav", ce::GENERIC_WRITE, 0, ce::OPEN_EXISTING);
    EXPECT_EQ(ce::CreateFileMappingW(writer, nullptr, ce::PAGE_READONLY, 0, 0, nullptr), nullptr);
    EXPECT_EQ(ce::GetLastError(), ce::ERROR_ACCESS_DENIED) << "a handle that cannot read";
    ce::CloseHandle(writer);
}

}  // namespace
