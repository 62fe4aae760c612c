// New contents swapped in for a file whose owner keeps a handle on it.

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "TempDevice.h"
#include "ce/Files.h"
#include "recordfile/ReplacementFile.h"

namespace {

class ReplacementFileTest : public testing_support::TempDevice {
protected:
    void SetUp() override {
        TempDevice::SetUp();
        std::ofstream(host_path("a.pdb"), std::ios::binary) << "old";
        handle_ = ce::CreateFileW(u"\\a.pdb", ce::GENERIC_READ | ce::GENERIC_WRITE, ce::FILE_SHARE_READ,
                                  ce::OPEN_EXISTING);
        ASSERT_NE(handle_, ce::INVALID_HANDLE_VALUE);
    }
    std::string contents() const {
        std::ifstream in(host_path("a.pdb"), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    ce::HANDLE handle_ = nullptr;
};

// Once the new contents are in place, a reopen that fails (another program holding the
// new file for a moment) is tried again, and the write stands whether or not it succeeds.
TEST_F(ReplacementFileTest, AFailedReopenAfterTheSwapIsRetriedAndTheWriteStands) {
    for (const int succeeding_attempt : {3, 1000}) {
        ReplacementFile replacement(u"\\a.pdb", u"\\a.pdb.~tmp");
        ASSERT_TRUE(replacement.Write("new", 3));
        int attempts = 0;
        EXPECT_TRUE(replacement.ReplaceReopening(handle_, [&] { return ++attempts == succeeding_attempt; }));
        EXPECT_EQ(handle_, nullptr) << "the owner's handle was closed for the swap";
        EXPECT_EQ(contents(), "new");
        if (succeeding_attempt == 3) EXPECT_EQ(attempts, 3);
        else EXPECT_GT(attempts, 1);
        std::ofstream(host_path("a.pdb"), std::ios::binary | std::ios::trunc) << "old";
    }
}

}  // namespace
