#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "irlib/meta/name_table.h"
#include "irlib/meta/omemstream.h"
#include "irlib/meta/value.h"

namespace {

using meta::value;
using meta::value_kind;

TEST(MetaValue, OwnedTextIsAPrivateCopyThatSurvivesItsSource) {
    char source[] = "Alarm";
    value v = value::make_text(source, meta::owned);
    std::strcpy(source, "XXXXX");
    EXPECT_EQ(v.flags(), meta::owned);
    EXPECT_EQ(v.size(), 6U);
    EXPECT_STREQ(v.text(), "Alarm");
}

TEST(MetaValue, BorrowedTextSeesItsSource) {
    char source[] = "Alarm";
    value v = value::make_text(source, meta::borrowed);
    source[0] = 'B';
    EXPECT_EQ(v.flags(), meta::borrowed);
    EXPECT_EQ(v.text(), source);
}

TEST(MetaValue, CopyingAnOwnedValueCopiesThePayloadAndABorrowedOneSharesIt) {
    value owned = value::make_bytes("\x01\x02\x03", 3, meta::owned);
    value owned_copy = owned;
    EXPECT_NE(owned_copy.data(), owned.data());
    EXPECT_EQ(std::memcmp(owned_copy.data(), owned.data(), 3), 0);
    EXPECT_EQ(owned_copy.flags(), meta::owned);

    const char shared[] = "abc";
    value borrowed = value::make_text(shared, meta::borrowed);
    value borrowed_copy;
    borrowed_copy = borrowed;
    EXPECT_EQ(borrowed_copy.text(), shared);
    EXPECT_EQ(borrowed_copy.flags(), meta::borrowed);
}

TEST(MetaValue, ReassigningAnOwnedValueKeepsTheNewPayloadOnly) {
    value v = value::make_text("first", meta::owned);
    v = value::make_text("second", meta::owned);
    EXPECT_STREQ(v.text(), "second");
    v = value::make_u16(7);
    EXPECT_EQ(v.kind(), value_kind::u16);
    EXPECT_EQ(v.text(), nullptr);
    EXPECT_EQ(v.data(), nullptr);
}

TEST(MetaValue, NullPointerGivesAnEmptyBorrowedValue) {
    value text = value::make_text(nullptr, meta::owned);
    EXPECT_EQ(text.kind(), value_kind::text);
    EXPECT_EQ(text.size(), 0U);
    EXPECT_EQ(text.flags(), meta::borrowed);
    EXPECT_EQ(text.text(), nullptr);
    value bytes = value::make_bytes(nullptr, 12, meta::owned);
    EXPECT_EQ(bytes.size(), 0U);
    EXPECT_EQ(bytes.flags(), meta::borrowed);
}

TEST(MetaValue, SixteenBitPayloadReadsAsSignedOrUnsigned) {
    const value v = value::make_u16(40000);
    EXPECT_EQ(v.as_u16(), 40000);
    EXPECT_EQ(v.as_i16(), 40000 - 65536);
}

TEST(MetaValue, OnlyTextValuesYieldText) {
    EXPECT_EQ(value::make_bytes("ab", 3, meta::borrowed).text(), nullptr);
    EXPECT_EQ(value::make_u32(5).text(), nullptr);
    EXPECT_EQ(value().text(), nullptr);
}

TEST(MetaNameTable, IndexesStartAtOneInOrderOfAddition) {
    meta::name_table names;
    EXPECT_EQ(names.add("macro"), 1);
    EXPECT_EQ(names.add("delay"), 2);
    EXPECT_EQ(names.add("ms"), 3);
    EXPECT_STREQ(names.name(1), "macro");
    EXPECT_STREQ(names.name(3), "ms");
    EXPECT_EQ(names.find("delay"), 2);
}

TEST(MetaNameTable, IndexZeroAndIndexesBeyondTheTableHaveNoName) {
    meta::name_table names;
    names.add("macro");
    EXPECT_EQ(names.name(0), nullptr);
    EXPECT_EQ(names.name(2), nullptr);
}

TEST(MetaNameTable, LookupByTextIsExactAndCaseSensitive) {
    meta::name_table names;
    names.add("macro");
    EXPECT_EQ(names.find("Macro"), 0);
    EXPECT_EQ(names.find("macr"), 0);
    EXPECT_EQ(names.find("macro "), 0);
}

TEST(MetaNameTable, NamesStayInPlaceWhileTheTableGrows) {
    meta::name_table names;
    names.add("a");
    const char* first = names.name(1);
    for (int i = 0; i < 1000; ++i) names.add(std::to_string(i).c_str());
    EXPECT_EQ(names.name(1), first);
    EXPECT_STREQ(first, "a");
}

TEST(MetaNameTable, AFullTableRefusesFurtherNames) {
    meta::name_table names;
    for (std::size_t i = 0; i < meta::name_table::max_names; ++i) names.add("n");
    EXPECT_EQ(names.add("extra"), 0);
    EXPECT_EQ(names.size(), meta::name_table::max_names);
}

TEST(MetaMemStream, GrowsAndKeepsEveryByteInOrder) {
    meta::omemstream out;
    EXPECT_EQ(out.capacity(), 500U);
    std::vector<std::uint8_t> expected;
    for (int i = 0; i < 700; ++i) {
        out.put(static_cast<std::uint8_t>(i));
        expected.push_back(static_cast<std::uint8_t>(i));
    }
    const std::vector<std::uint8_t> run(70000, 0x5A);
    out.write(run.data(), run.size());
    expected.insert(expected.end(), run.begin(), run.end());
    ASSERT_EQ(out.size(), expected.size());
    EXPECT_EQ(std::vector<std::uint8_t>(out.data(), out.data() + out.size()), expected);
    EXPECT_GE(out.capacity(), out.size());
    EXPECT_EQ(out.capacity() % 500, 0U);  // doubled, never just fitted
    EXPECT_FALSE(out.truncated());
}

TEST(MetaMemStream, FixedStreamKeepsWhatFitsAndSaysItWasCut) {
    meta::omemstream out(4, false);
    const std::uint8_t bytes[] = {1, 2, 3};
    out.write(bytes, 3);
    EXPECT_FALSE(out.truncated());
    out.write(bytes, 3);
    out.put(9);
    EXPECT_EQ(out.size(), 4U);
    EXPECT_EQ(out.capacity(), 4U);
    EXPECT_TRUE(out.truncated());
    EXPECT_EQ(std::vector<std::uint8_t>(out.data(), out.data() + 4), (std::vector<std::uint8_t>{1, 2, 3, 1}));
}

}  // namespace
