#include <cstring>
#include <ostream>
#include <string>

#include <gtest/gtest.h>

#include "irlib/utils/wide_text.h"

namespace {

using utils::pack_wide_text;
using utils::unpack_wide_text;

std::string packed(const char16_t* wide, std::size_t capacity) {
    std::string buffer(capacity + 4, '#');
    pack_wide_text(wide, buffer.data(), capacity);
    return buffer;
}

struct PackCase {
    const char* name;
    const char16_t* wide;
    std::size_t capacity;
    std::string written;  // what lands in the buffer, NUL included; nothing for an untouched buffer
};

void PrintTo(const PackCase& row, std::ostream* os) { *os << row.name; }

class WideTextPack : public ::testing::TestWithParam<PackCase> {};

TEST_P(WideTextPack, WritesLowThenHighBytesAndANul) {
    const PackCase& row = GetParam();
    const std::size_t buffer = row.capacity + 4;
    EXPECT_EQ(packed(row.wide, row.capacity), row.written + std::string(buffer - row.written.size(), '#'));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WideTextPack,
    ::testing::Values(
        PackCase{"ZeroHighByteBecomesEF", u"IR", 10, std::string("I\xEFR\xEF\0", 5)},
        PackCase{"HighByteKept", u"\u20AC", 10, std::string("\xAC\x20\0", 3)},
        PackCase{"StopsAtALowByteOfZero", u"A\u0100B", 10, std::string("A\xEF\0", 3)},
        PackCase{"StopsWhenCapacityLessTwoIsWritten", u"ABCDE", 6, std::string("A\xEF" "B\xEF\0", 5)},
        PackCase{"OddCapacityStillFits", u"ABCDE", 5, std::string("A\xEF" "B\xEF\0", 5)},
        PackCase{"CapacityOneHoldsOnlyTheNul", u"A", 1, std::string("\0", 1)},
        PackCase{"CapacityZeroLeavesTheBufferAlone", u"A", 0, ""},
        PackCase{"EmptyStringLeavesTheBufferAlone", u"", 6, ""},
        PackCase{"NullStringLeavesTheBufferAlone", nullptr, 6, ""}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(WideTextPack, HundredByteFieldHoldsFortyNineCharactersWithoutInnerZeroBytes) {
    std::u16string name(80, u'\u0130');  // high byte 0x01
    name[3] = u'x';
    char field[100];
    std::memset(field, '#', sizeof field);
    pack_wide_text(name.c_str(), field, sizeof field);
    EXPECT_EQ(std::strlen(field), 98U);
    EXPECT_EQ(field[98], '\0');
    EXPECT_EQ(field[99], '#');
}

std::u16string unpacked(const std::string& bytes, std::size_t capacity) {
    std::u16string buffer(capacity + 2, u'#');
    unpack_wide_text(bytes.data(), bytes.size(), buffer.data(), capacity);
    return buffer;
}

struct UnpackCase {
    const char* name;
    std::string bytes;
    std::size_t capacity;
    std::u16string written;  // NUL included; nothing for an untouched buffer
};

void PrintTo(const UnpackCase& row, std::ostream* os) { *os << row.name; }

class WideTextUnpack : public ::testing::TestWithParam<UnpackCase> {};

TEST_P(WideTextUnpack, ReadsPairsAndWritesANul) {
    const UnpackCase& row = GetParam();
    const std::size_t buffer = row.capacity + 2;
    EXPECT_EQ(unpacked(row.bytes, row.capacity), row.written + std::u16string(buffer - row.written.size(), u'#'));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WideTextUnpack,
    ::testing::Values(
        UnpackCase{"EFStandsForZero", std::string("I\xEFR\xEF\0", 5), 4, std::u16string(u"IR\0", 3)},
        UnpackCase{"HighByteKept", std::string("\xAC\x20\0", 3), 3, std::u16string(u"\u20AC\0", 2)},
        UnpackCase{"FinalSingleByteHasHighByteZero", std::string("A\xEF" "B\0", 4), 4,
                   std::u16string(u"AB\0", 3)},
        UnpackCase{"StopsAtCapacityLessOne", std::string("A\xEF" "B\xEF" "C\xEF\0", 7), 3,
                   std::u16string(u"AB\0", 3)},
        UnpackCase{"ReadsNoFurtherThanTheGivenSize", std::string("A\xEF" "B\xEF" "C\xEF", 6), 9,
                   std::u16string(u"ABC\0", 4)},
        UnpackCase{"ShorterThanTwoBytesLeavesTheBufferAlone", std::string("A\0", 2), 4, u""},
        UnpackCase{"CapacityZeroLeavesTheBufferAlone", std::string("A\xEF\0", 3), 0, u""}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(WideText, PackedNamesUnpackToTheOriginal) {
    const std::u16string original = u"Licht \u00FC\u20AC 7";
    char field[100];
    pack_wide_text(original.c_str(), field, sizeof field);
    char16_t wide[60];
    unpack_wide_text(field, sizeof field, wide, 60);
    EXPECT_EQ(std::u16string(wide), original);
}

}  // namespace
