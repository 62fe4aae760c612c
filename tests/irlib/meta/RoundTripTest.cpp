#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RecordingHandler.h"
#include "StreamBytes.h"
#include "irlib/meta/reader_impl.h"
#include "irlib/meta/writer.h"

namespace {

using meta::value;
using meta::testing::ByteBuilder;
using meta::testing::Bytes;
using meta::testing::bytes_of;
using meta::testing::RecordingHandler;

struct Captured : RecordingHandler {
    std::vector<value> values;
    meta::simple::handler_result content(const value& v) override {
        values.push_back(v);
        return RecordingHandler::content(v);
    }
};

class MetaLongValue : public ::testing::TestWithParam<std::uint32_t> {};

TEST_P(MetaLongValue, BytesAndTextComeBackWhole) {
    const std::uint32_t size = GetParam();
    std::vector<std::uint8_t> payload(size);
    for (std::uint32_t i = 0; i < size; ++i) payload[i] = static_cast<std::uint8_t>(i * 7 + 1);
    std::string text(size - 1, 'q');
    for (std::uint32_t i = 0; i + 1 < size; ++i) text[i] = static_cast<char>('a' + i % 26);

    meta::omemstream out;
    meta::detail::writer_impl writer(out);
    writer.begin_element("long");
    writer.attribute("data", value::make_bytes(payload.data(), size, meta::borrowed));
    writer.content(value::make_text(text.c_str(), meta::borrowed));
    writer.end_element();
    const Bytes stream = bytes_of(out);

    Captured handler;
    struct Attribute : Captured {
        meta::simple::handler_result attribute(const char*, const value& v) override {
            values.push_back(v);
            return meta::simple::handler_result::proceed;
        }
    } reader_side;
    meta::detail::reader_impl reader;
    reader.set_handler(&reader_side);
    ASSERT_EQ(reader.parse(stream.data(), stream.size()), 0);
    ASSERT_EQ(reader_side.values.size(), 2U);
    const value& bytes = reader_side.values[0];
    ASSERT_EQ(bytes.kind(), meta::value_kind::bytes);
    ASSERT_EQ(bytes.size(), size);
    EXPECT_EQ(std::memcmp(bytes.data(), payload.data(), size), 0);
    const value& read_text = reader_side.values[1];
    ASSERT_EQ(read_text.kind(), meta::value_kind::text);
    EXPECT_EQ(read_text.size(), size);
    EXPECT_EQ(std::string(read_text.text()), text);
}

INSTANTIATE_TEST_SUITE_P(Sizes, MetaLongValue, ::testing::Values(255U, 300U, 65534U, 65535U, 70000U));

TEST(MetaSimpleWriter, ReencodesAnInlineStreamByteForByte) {
    ByteBuilder b;
    b({0x01}).text("macro")({0x03}).text("ver")({0x22, 0x01, 0x40});
    b({0x01}).text("reference")({0x03}).text("signal").text("IR1")({0x03}).text("repeat")({0x22, 0x00, 0x05});
    b({0x23, 0x80, 0x00, 0x00, 0x00, 0x24, 0x25, 0x26, 0x01, 0x00})({0x02})({0x02});
    b({0x01}).text("after")({0x02});
    const Bytes stream = b.bytes();

    meta::omemstream out;
    meta::simple::writer writer(out);
    meta::detail::reader_impl reader;
    reader.set_handler(&writer);
    ASSERT_EQ(reader.parse(stream.data(), stream.size()), 0);
    EXPECT_EQ(bytes_of(out), stream);
}

TEST(MetaSimpleWriter, AttributeWithoutAValueReadsBackAsOne) {
    meta::omemstream out;
    meta::detail::writer_impl writer(out);
    writer.begin_element("e");
    writer.attribute("empty", value());
    writer.attribute("next", value::make_u8(3));
    writer.end_element();
    const Bytes stream = bytes_of(out);
    RecordingHandler handler;
    meta::detail::reader_impl reader;
    reader.set_handler(&handler);
    EXPECT_EQ(reader.parse(stream.data(), stream.size()), 0);
    EXPECT_EQ(handler.events, (std::vector<std::string>{"start e", "attr empty=none", "attr next=u8:3", "end e"}));
}

TEST(MetaSimpleWriter, SpellsOutIndexNamesOfANamesStream) {
    ByteBuilder indexed;
    indexed({0x01}).text("?names").text("macro").text("ver")({0x02});
    indexed({0x01, 0x22, 0x00, 0x01, 0x03, 0x22, 0x00, 0x02, 0x22, 0x01, 0x40, 0x02});
    const Bytes stream = indexed.bytes();

    meta::omemstream out;
    meta::simple::writer writer(out);
    meta::detail::reader_impl reader;
    reader.set_handler(&writer);
    ASSERT_EQ(reader.parse(stream.data(), stream.size()), 0);
    EXPECT_EQ(bytes_of(out), ByteBuilder()({0x01}).text("macro")({0x03}).text("ver")({0x22, 0x01, 0x40, 0x02}).bytes());
}

TEST(MetaSimpleWriter, IndexNamesWrittenWithATableReadBackThroughTheSameTable) {
    meta::name_table names;
    meta::omemstream out;
    meta::detail::writer_impl writer(out, &names);
    writer.begin_element("macro");
    writer.attribute("ver", value::make_u16(320));
    writer.end_element();
    const Bytes stream = bytes_of(out);

    RecordingHandler handler;
    meta::detail::reader_impl reader(&names);
    reader.set_handler(&handler);
    ASSERT_EQ(reader.parse(stream.data(), stream.size()), 0);
    EXPECT_EQ(handler.events, (std::vector<std::string>{"start macro", "attr ver=u16:320", "end macro"}));
}

TEST(MetaSimpleWriter, ErrorAbortsAndNothingOfTheBrokenElementIsWrittenAfterIt) {
    const Bytes stream = ByteBuilder()({0x01}).text("a")({0x02, 0x01}).text("b")({0x30}).bytes();
    meta::omemstream out;
    meta::simple::writer writer(out);
    meta::detail::reader_impl reader;
    reader.set_handler(&writer);
    EXPECT_EQ(reader.parse(stream.data(), stream.size()), -1);
    EXPECT_EQ(bytes_of(out), ByteBuilder()({0x01}).text("a")({0x02, 0x01}).text("b").bytes());
}

Bytes nested(int depth) {
    Bytes stream;
    for (int i = 0; i < depth; ++i) stream.insert(stream.end(), {0x01, 0x2A, 0x02, 'n', 0x00});
    stream.insert(stream.end(), static_cast<std::size_t>(depth), 0x02);
    return stream;
}

TEST(MetaNestingDepth, StreamsUpToTheLimitAreRead) {
    RecordingHandler handler;
    meta::detail::reader_impl reader;
    reader.set_handler(&handler);
    const Bytes stream = nested(meta::detail::reader_impl::max_depth);
    EXPECT_EQ(reader.parse(stream.data(), stream.size()), 0);
    EXPECT_EQ(handler.events.size(), 2U * meta::detail::reader_impl::max_depth);
}

TEST(MetaNestingDepth, DeeperStreamsAreAFormatErrorNotAStackOverflow) {
    for (int depth : {meta::detail::reader_impl::max_depth + 1, 1'000'000}) {
        RecordingHandler handler;
        handler.policy = [](const std::string&) { return meta::simple::handler_result::skip; };
        meta::detail::reader_impl reader;
        reader.set_handler(&handler);
        const Bytes stream = nested(depth);
        EXPECT_EQ(reader.parse(stream.data(), stream.size()), -1) << depth;
        EXPECT_EQ(handler.errors, 1) << depth;
    }
}

}  // namespace
