#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "ce/Text.h"

using namespace ce;

namespace {

struct Mapping {
    unsigned char byte;
    char16_t wide;
};

void PrintTo(const Mapping& row, std::ostream* out) { *out << "byte " << unsigned{row.byte}; }

class AnsiMapping : public testing::TestWithParam<Mapping> {};

TEST_P(AnsiMapping, ConvertsBothWays) {
    const char ansi[] = {static_cast<char>(GetParam().byte)};
    WCHAR wide[2] = {};
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, ansi, 1, wide, 2), 1);
    EXPECT_EQ(wide[0], GetParam().wide);

    char back[2] = {};
    BOOL used = TRUE;
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, wide, 1, back, 2, nullptr, &used), 1);
    EXPECT_EQ(static_cast<unsigned char>(back[0]), GetParam().byte);
    EXPECT_FALSE(used);
}

INSTANTIATE_TEST_SUITE_P(Windows1252, AnsiMapping,
                         testing::Values(Mapping{'A', u'A'}, Mapping{0x80, u'\u20AC'}, Mapping{0x8A, u'\u0160'},
                                         Mapping{0x9F, u'\u0178'}, Mapping{0xE9, u'\u00E9'}, Mapping{0xFF, u'\u00FF'},
                                         Mapping{0x81, u'\u0081'}, Mapping{0x8D, u'\u008D'}, Mapping{0x8F, u'\u008F'},
                                         Mapping{0x90, u'\u0090'}, Mapping{0x9D, u'\u009D'}),
                         [](const auto& row) { return "Byte" + std::to_string(row.param.byte); });

TEST(AnsiText, EveryByteSurvivesARoundTrip) {
    std::string all;
    for (int byte = 1; byte < 256; ++byte) all += static_cast<char>(byte);
    const std::u16string wide = wide_from_ansi(all);
    EXPECT_EQ(wide.size(), all.size());
    EXPECT_EQ(ansi_from_wide(wide), all);
}

TEST(AnsiText, UnmappableCharactersBecomeTheDefaultChar) {
    const std::u16string wide = u"a\u0100b\U0001F600c\xD800";  // a lone surrogate at the end
    char text[16] = {};
    BOOL used = FALSE;
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, wide.data(), static_cast<int>(wide.size()), text, 16, nullptr, &used), 6);
    EXPECT_EQ(std::string(text, 6), "a?b?c?");
    EXPECT_TRUE(used);
    const char star = '*';
    ASSERT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u4E2D", 1, text, 16, &star, &used), 1);
    EXPECT_EQ(text[0], '*');
}

TEST(AnsiText, FollowsTheWin32BufferContract) {
    // -1 includes the NUL; a size of 0 asks for the size needed.
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x80uro", -1, nullptr, 0), 5);
    WCHAR wide[5];
    ASSERT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x80uro", -1, wide, 5), 5);
    EXPECT_EQ(std::u16string(wide, 5), std::u16string(u"\u20ACuro\0", 5));
    SetLastError(ERROR_SUCCESS);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "\x80uro", -1, wide, 4), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);

    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u20ACuro", -1, nullptr, 0), 5);
    char text[4] = {'x', 'x', 'x', 'x'};
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"\u20ACuro", -1, text, 4), 0);
    EXPECT_EQ(GetLastError(), ERROR_INSUFFICIENT_BUFFER);

    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, "abc", 0, wide, 5), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(MultiByteToWideChar(CP_ACP, 0, nullptr, 3, wide, 5), 0);
    EXPECT_EQ(WideCharToMultiByte(CP_ACP, 0, u"abc", 3, nullptr, 4), 0);
    EXPECT_EQ(GetLastError(), ERROR_INVALID_PARAMETER);
    EXPECT_EQ(MultiByteToWideChar(65001, 0, "abc", 3, wide, 5), 0) << "only the ANSI code page";
}

}  // namespace
