#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "StreamBytes.h"
#include "irlib/meta/writer_impl.h"

namespace {

using meta::value;
using meta::testing::ByteBuilder;
using meta::testing::Bytes;
using meta::testing::bytes_of;

TEST(MetaWriter, EmptyElementWithInlineNameIsBeginNameEnd) {
    meta::omemstream out;
    meta::detail::writer_impl writer(out);
    writer.begin_element("macro");
    writer.end_element();
    EXPECT_EQ(bytes_of(out), (Bytes{0x01, 0x2A, 0x06, 'm', 'a', 'c', 'r', 'o', 0x00, 0x02}));
}

TEST(MetaWriter, AttributeIsTagNameAndValue) {
    meta::omemstream out;
    meta::detail::writer_impl writer(out);
    writer.attribute("ver", value::make_u16(320));
    EXPECT_EQ(bytes_of(out), ByteBuilder()({0x03}).text("ver")({0x22, 0x01, 0x40}).bytes());
}

struct EncodingCase {
    const char* name;
    value v;
    Bytes expected;
};

void PrintTo(const EncodingCase& row, std::ostream* os) { *os << row.name; }

std::string repeated(char c, std::size_t n) { return std::string(n, c); }

class MetaValueEncoding : public ::testing::TestWithParam<EncodingCase> {};

TEST_P(MetaValueEncoding, WritesTagAndBigEndianPayload) {
    meta::omemstream out;
    meta::detail::writer_impl writer(out);
    writer.content(GetParam().v);
    EXPECT_EQ(bytes_of(out), GetParam().expected);
}

const std::string text_254 = repeated('t', 253);  // 253 characters + NUL = 254 bytes
const std::string text_255 = repeated('t', 254);
const std::string bytes_254 = repeated('\x7F', 254);
const std::string bytes_255 = repeated('\x7F', 255);

INSTANTIATE_TEST_SUITE_P(
    Kinds, MetaValueEncoding,
    ::testing::Values(
        EncodingCase{"NoneIsItsTagAlone", value(), {0x20}},
        EncodingCase{"U8", value::make_u8(0xAB), {0x21, 0xAB}},
        EncodingCase{"U16", value::make_u16(320), {0x22, 0x01, 0x40}},
        EncodingCase{"U32", value::make_u32(0x01020304), {0x23, 0x01, 0x02, 0x03, 0x04}},
        EncodingCase{"I32Negative", value::make_i32(-2), {0x23, 0xFF, 0xFF, 0xFF, 0xFE}},
        EncodingCase{"True", value::make_boolean(true), {0x24}},
        EncodingCase{"False", value::make_boolean(false), {0x25}},
        EncodingCase{"ShortBytes", value::make_bytes("\x00\x01", 2, meta::borrowed), {0x26, 0x02, 0x00, 0x01}},
        EncodingCase{"ShortText", value::make_text("IR1", meta::borrowed), {0x2A, 0x04, 'I', 'R', '1', 0x00}},
        EncodingCase{"Text254UsesOneLengthByte", value::make_text(text_254.c_str(), meta::borrowed),
                     ByteBuilder()({0x2A, 0xFE})(text_254)({0}).bytes()},
        EncodingCase{"Text255UsesFourLengthBytes", value::make_text(text_255.c_str(), meta::borrowed),
                     ByteBuilder()({0x2B, 0x00, 0x00, 0x00, 0xFF})(text_255)({0}).bytes()},
        EncodingCase{"Bytes254UsesOneLengthByte", value::make_bytes(bytes_254.data(), 254, meta::borrowed),
                     ByteBuilder()({0x26, 0xFE})(bytes_254).bytes()},
        EncodingCase{"Bytes255UsesFourLengthBytes", value::make_bytes(bytes_255.data(), 255, meta::borrowed),
                     ByteBuilder()({0x27, 0x00, 0x00, 0x00, 0xFF})(bytes_255).bytes()}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(MetaWriter, NameTableReplacesNamesByIndexesInOrderOfFirstUse) {
    meta::name_table names;
    meta::omemstream out;
    meta::detail::writer_impl writer(out, &names);
    writer.begin_element("macro");
    writer.begin_element("delay");
    writer.attribute("ms", value::make_u16(5));
    writer.end_element();
    writer.begin_element("delay");
    writer.end_element();
    writer.end_element();
    EXPECT_EQ(bytes_of(out), (Bytes{0x01, 0x22, 0x00, 0x01,                     // macro = 1
                                    0x01, 0x22, 0x00, 0x02,                     // delay = 2
                                    0x03, 0x22, 0x00, 0x03, 0x22, 0x00, 0x05,   // ms = 3
                                    0x02, 0x01, 0x22, 0x00, 0x02, 0x02, 0x02}));
    EXPECT_EQ(names.size(), 3U);
}

}  // namespace
