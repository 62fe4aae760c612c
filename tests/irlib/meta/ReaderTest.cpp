#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RecordingHandler.h"
#include "StreamBytes.h"
#include "irlib/meta/reader_impl.h"

namespace {

using meta::testing::ByteBuilder;
using meta::testing::Bytes;
using meta::testing::RecordingHandler;
using Events = std::vector<std::string>;

const std::string wrong_format = "error meta::parse_exception: file is in wrong format";

int parse(const Bytes& bytes, RecordingHandler& handler, meta::name_table* names = nullptr) {
    meta::detail::reader_impl reader(names);
    reader.set_handler(&handler);
    const int result = reader.parse(bytes.data(), bytes.size());
    EXPECT_EQ(reader.status(), result);
    return result;
}

TEST(MetaReader, ReportsElementsAttributesAndContentInStreamOrder) {
    const Bytes stream = ByteBuilder()({0x01}).text("macro")({0x03}).text("ver")({0x22, 0x01, 0x40})
                             ({0x01}).text("delay")({0x03}).text("ms")({0x22, 0x05, 0xDC})({0x02})
                             ({0x21, 0x07, 0x24, 0x25, 0x20, 0x23, 0xFF, 0xFF, 0xFF, 0xFE})
                             ({0x26, 0x02, 0xAA, 0xBB, 0x34, 0x02, 'x', 0x00})({0x02})
                             .bytes();
    RecordingHandler handler;
    EXPECT_EQ(parse(stream, handler), 0);
    EXPECT_EQ(handler.events, (Events{"start macro", "attr ver=u16:320", "start delay", "attr ms=u16:1500",
                                      "end delay", "content u8:7", "content true", "content false",
                                      "content none", "content i32:-2", "content bytes:AABB", "content text:x",
                                      "end macro"}));
}

TEST(MetaReader, DecodedTextAndBytesBorrowTheInputBuffer) {
    const Bytes stream = ByteBuilder()({0x01}).text("e")({0x26, 0x01, 0x55, 0x2B, 0, 0, 0, 2, 'a', 0, 0x02}).bytes();
    struct Probe : RecordingHandler {
        std::vector<const std::uint8_t*> payloads;
        std::vector<std::uint32_t> flags;
        meta::simple::handler_result content(const meta::value& v) override {
            payloads.push_back(v.data());
            flags.push_back(v.flags());
            return RecordingHandler::content(v);
        }
    } probe;
    EXPECT_EQ(parse(stream, probe), 0);
    ASSERT_EQ(probe.payloads.size(), 2U);
    EXPECT_EQ(probe.payloads[0], stream.data() + 7);
    EXPECT_EQ(probe.payloads[1], stream.data() + 13);
    EXPECT_EQ(probe.flags, (std::vector<std::uint32_t>{meta::borrowed, meta::borrowed}));
}

TEST(MetaReader, BooleanTagIsTheWholeValue) {
    // Were anything read after 0x24, the 0x02 would be taken and the element left open.
    const Bytes stream = ByteBuilder()({0x01}).text("e")({0x03}).text("on")({0x24, 0x02}).bytes();
    RecordingHandler handler;
    EXPECT_EQ(parse(stream, handler), 0);
    EXPECT_EQ(handler.events, (Events{"start e", "attr on=true", "end e"}));
}

TEST(MetaReader, EmptyTextIsAnEmptyValue) {
    const Bytes stream = ByteBuilder()({0x01}).text("e")({0x2A, 0x00, 0x02}).bytes();
    RecordingHandler handler;
    EXPECT_EQ(parse(stream, handler), 0);
    EXPECT_EQ(handler.events, (Events{"start e", "content text:(empty)", "end e"}));
}

struct EndCase {
    const char* name;
    Bytes stream;
    Events expected;
};

void PrintTo(const EndCase& row, std::ostream* os) { *os << row.name; }

class MetaReaderEnd : public ::testing::TestWithParam<EndCase> {};

TEST_P(MetaReaderEnd, EndsSuccessfully) {
    RecordingHandler handler;
    EXPECT_EQ(parse(GetParam().stream, handler), 0);
    EXPECT_EQ(handler.events, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Streams, MetaReaderEnd,
    ::testing::Values(
        EndCase{"EmptyStream", {}, {}},
        EndCase{"StartsWithFF", {0xFF, 0x01, 0x55}, {}},
        EndCase{"FFBetweenTopLevelElementsIgnoresTheRest",
                ByteBuilder()({0x01}).text("a")({0x02, 0xFF, 0x01, 0x99, 0x02}).bytes(), {"start a", "end a"}},
        EndCase{"SiblingsAtTopLevel", ByteBuilder()({0x01}).text("a")({0x02, 0x01}).text("b")({0x02}).bytes(),
                {"start a", "end a", "start b", "end b"}}),
    [](const auto& row) { return std::string(row.param.name); });

struct MalformedCase {
    const char* name;
    Bytes stream;
    Events before_fault;  // events delivered before the error
};

void PrintTo(const MalformedCase& row, std::ostream* os) { *os << row.name; }

class MetaReaderMalformed : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MetaReaderMalformed, FailsWithOneErrorAndNothingAfterTheFault) {
    RecordingHandler handler;
    EXPECT_EQ(parse(GetParam().stream, handler), -1);
    Events expected = GetParam().before_fault;
    expected.push_back(wrong_format);
    EXPECT_EQ(handler.events, expected);
    EXPECT_EQ(handler.errors, 1);
}

ByteBuilder open_e() { return std::move(ByteBuilder()({0x01}).text("e")); }

INSTANTIATE_TEST_SUITE_P(
    Faults, MetaReaderMalformed,
    ::testing::Values(
        MalformedCase{"TopLevelByteIsNotBegin", {0x02}, {}},
        MalformedCase{"ContentAtTopLevel", {0x21, 0x05}, {}},
        MalformedCase{"MissingEnd", open_e().bytes(), {"start e"}},
        MalformedCase{"AttributeAfterChildren",
                      open_e()({0x21, 0x01, 0x03}).text("a")({0x21, 0x02, 0x02}).bytes(), {"start e", "content u8:1"}},
        MalformedCase{"NameCutShort", {0x01, 0x2A, 0x06, 'm', 'a'}, {}},
        MalformedCase{"NameIsANumber", {0x01, 0x21, 0x05, 0x02}, {}},
        MalformedCase{"NameIsNone", {0x01, 0x20, 0x02}, {}},
        MalformedCase{"NameIsEmptyText", {0x01, 0x2A, 0x00, 0x02}, {}},
        MalformedCase{"NameIndexZero", {0x01, 0x22, 0x00, 0x00, 0x02}, {}},
        MalformedCase{"NameIndexWithoutTable", {0x01, 0x22, 0x00, 0x01, 0x02}, {}},
        MalformedCase{"UnknownContentTag", open_e()({0x30, 0x02}).bytes(), {"start e"}},
        MalformedCase{"UnwrittenLongFormTags", open_e()({0x28, 0, 0, 0, 1, 0x41, 0x02}).bytes(), {"start e"}},
        MalformedCase{"UnknownAttributeValueTag", open_e()({0x03}).text("a")({0x2C, 0x02}).bytes(), {"start e"}},
        MalformedCase{"AttributeValueIsAStructureByte", open_e()({0x03}).text("a")({0x02}).bytes(), {"start e"}},
        MalformedCase{"AttributeCutAfterName", open_e()({0x03}).text("a").bytes(), {"start e"}},
        MalformedCase{"NumberCutShort", open_e()({0x23, 0x00, 0x01}).bytes(), {"start e"}},
        MalformedCase{"ShortLengthPastTheEnd", open_e()({0x26, 0x05, 0x01, 0x02}).bytes(), {"start e"}},
        MalformedCase{"LongLengthPastTheEnd", open_e()({0x27, 0xFF, 0xFF, 0xFF, 0xFF, 0x01, 0x02}).bytes(),
                      {"start e"}},
        MalformedCase{"LongLengthCutShort", open_e()({0x2B, 0x00, 0x00}).bytes(), {"start e"}},
        MalformedCase{"TextWithoutItsNul", open_e()({0x2A, 0x02, 'a', 'b', 0x02}).bytes(), {"start e"}},
        MalformedCase{"FFInsideAnElement", open_e()({0xFF}).bytes(), {"start e"}},
        MalformedCase{"SecondElementBroken", ByteBuilder()({0x01}).text("a")({0x02, 0x01, 0x05}).bytes(),
                      {"start a", "end a"}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(MetaReader, NoHandlerStillReportsMalformedInputByStatus) {
    meta::detail::reader_impl reader;
    const Bytes stream{0x01, 0x2A, 0x09};
    EXPECT_EQ(reader.parse(stream.data(), stream.size()), -1);
}

// "?names" and index names.

Bytes names_element(std::initializer_list<std::string> names) {
    ByteBuilder b;
    b({0x01}).text("?names");
    for (const auto& n : names) b.text(n);
    b({0x02});
    return b.bytes();
}

Bytes joined(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

TEST(MetaReaderNames, FirstNamesElementFeedsTheTableAndStaysHiddenFromTheHandler) {
    const Bytes stream = joined(names_element({"macro", "ver"}),
                                {0x01, 0x22, 0x00, 0x01, 0x03, 0x22, 0x00, 0x02, 0x22, 0x01, 0x40, 0x02});
    RecordingHandler handler;
    EXPECT_EQ(parse(stream, handler), 0);
    EXPECT_EQ(handler.events, (Events{"start macro", "attr ver=u16:320", "end macro"}));
}

TEST(MetaReaderNames, LaterNamesElementIsAnOrdinaryElement) {
    const Bytes stream = joined(ByteBuilder()({0x01}).text("a")({0x02}).bytes(), names_element({"x"}));
    RecordingHandler handler;
    EXPECT_EQ(parse(stream, handler), 0);
    EXPECT_EQ(handler.events, (Events{"start a", "end a", "start ?names", "content text:x", "end ?names"}));
}

TEST(MetaReaderNames, IndexesResolveFromOneAndOneBeyondTheTableIsAFault) {
    const Bytes good = joined(names_element({"a", "b"}), {0x01, 0x22, 0x00, 0x02, 0x02});
    RecordingHandler handler;
    EXPECT_EQ(parse(good, handler), 0);
    EXPECT_EQ(handler.events, (Events{"start b", "end b"}));

    const Bytes beyond = joined(names_element({"a", "b"}), {0x01, 0x22, 0x00, 0x03, 0x02});
    RecordingHandler refused;
    EXPECT_EQ(parse(beyond, refused), -1);
    EXPECT_EQ(refused.events, (Events{wrong_format}));
}

TEST(MetaReaderNames, NonTextEntryIsAFaultReportedToTheApplicationHandlerOnce) {
    const Bytes stream = ByteBuilder()({0x01}).text("?names").text("a")({0x21, 0x01, 0x02}).bytes();
    RecordingHandler handler;
    meta::detail::reader_impl reader;
    reader.set_handler(&handler);
    EXPECT_EQ(reader.parse(stream.data(), stream.size()), -1);
    EXPECT_EQ(handler.events, (Events{wrong_format}));
    EXPECT_EQ(reader.handler(), &handler);
}

TEST(MetaReaderNames, FaultInsideNamesReachesTheApplicationHandler) {
    const Bytes stream = ByteBuilder()({0x01}).text("?names").text("a")({0x30}).bytes();
    RecordingHandler handler;
    meta::detail::reader_impl reader;
    reader.set_handler(&handler);
    EXPECT_EQ(reader.parse(stream.data(), stream.size()), -1);
    EXPECT_EQ(handler.events, (Events{wrong_format}));
    EXPECT_EQ(reader.handler(), &handler);
}

TEST(MetaReaderNames, ElementNestedInNamesDoesNotEndTheTableEarly) {
    ByteBuilder b;
    b({0x01}).text("?names").text("a")({0x01}).text("inner")({0x02}).text("b")({0x02});
    const Bytes stream = joined(b.bytes(), {0x01, 0x22, 0x00, 0x02, 0x02});
    RecordingHandler handler;
    EXPECT_EQ(parse(stream, handler), 0);
    EXPECT_EQ(handler.events, (Events{"start b", "end b"}));
}

TEST(MetaReaderNames, NamesElementNamedByIndexKeepsItsNameWhileTheTableGrows) {
    meta::name_table names;
    names.add("?names");
    ByteBuilder b;
    b({0x01, 0x22, 0x00, 0x01});
    for (int i = 0; i < 200; ++i) b.text("name" + std::to_string(i));
    b({0x02});
    RecordingHandler handler;
    EXPECT_EQ(parse(b.bytes(), handler, &names), 0);
    EXPECT_TRUE(handler.events.empty());
    EXPECT_EQ(names.size(), 201U);
}

TEST(MetaReaderNames, ExternalTableGathersNamesAcrossParses) {
    meta::name_table names;
    RecordingHandler first;
    EXPECT_EQ(parse(names_element({"alpha"}), first, &names), 0);
    RecordingHandler second;
    EXPECT_EQ(parse({0x01, 0x22, 0x00, 0x01, 0x02}, second, &names), 0);
    EXPECT_EQ(second.events, (Events{"start alpha", "end alpha"}));
}

TEST(MetaReaderNames, OwnTableStartsEmptyForEachReader) {
    RecordingHandler first;
    EXPECT_EQ(parse(names_element({"alpha"}), first), 0);
    RecordingHandler second;
    EXPECT_EQ(parse({0x01, 0x22, 0x00, 0x01, 0x02}, second), -1);
}

}  // namespace
