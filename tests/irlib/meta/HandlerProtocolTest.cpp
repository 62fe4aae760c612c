#include <ostream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "RecordingHandler.h"
#include "StreamBytes.h"
#include "irlib/meta/reader_impl.h"

namespace {

using meta::simple::handler_result;
using meta::testing::ByteBuilder;
using meta::testing::Bytes;
using meta::testing::RecordingHandler;
using Events = std::vector<std::string>;

// <outer a=1> <inner b=2> 7 </inner> <leaf/> 9 </outer> <next/>
Bytes sample_stream() {
    ByteBuilder b;
    b({0x01}).text("outer")({0x03}).text("a")({0x21, 0x01});
    b({0x01}).text("inner")({0x03}).text("b")({0x21, 0x02})({0x21, 0x07})({0x02});
    b({0x01}).text("leaf")({0x02});
    b({0x21, 0x09})({0x02});
    b({0x01}).text("next")({0x02});
    return b.bytes();
}

const Events all_events{"start outer", "attr a=u8:1",  "start inner", "attr b=u8:2", "content u8:7", "end inner",
                        "start leaf",  "end leaf",     "content u8:9", "end outer",   "start next",   "end next"};

struct ProtocolCase {
    const char* name;
    std::string answered_event;  // the event whose answer is not `proceed`
    handler_result answer;
    int status;
    Events expected;
};

void PrintTo(const ProtocolCase& row, std::ostream* os) { *os << row.name; }

class MetaHandlerProtocol : public ::testing::TestWithParam<ProtocolCase> {};

TEST_P(MetaHandlerProtocol, ReaderFollowsTheAnswer) {
    const ProtocolCase& c = GetParam();
    RecordingHandler handler;
    handler.policy = [&](const std::string& event) {
        return event == c.answered_event ? c.answer : handler_result::proceed;
    };
    const Bytes stream = sample_stream();
    meta::detail::reader_impl reader;
    reader.set_handler(&handler);
    EXPECT_EQ(reader.parse(stream.data(), stream.size()), c.status);
    EXPECT_EQ(handler.events, c.expected);
    EXPECT_EQ(handler.errors, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, MetaHandlerProtocol,
    ::testing::Values(
        ProtocolCase{"ProceedEverywhere", "", handler_result::proceed, 0, all_events},
        ProtocolCase{"SkipAtStartSuppressesTheSubtreeAndItsEnd", "start outer", handler_result::skip, 0,
                     {"start outer", "start next", "end next"}},
        ProtocolCase{"SkipOfANestedElementResumesAtItsSibling", "start inner", handler_result::skip, 0,
                     {"start outer", "attr a=u8:1", "start inner", "start leaf", "end leaf", "content u8:9",
                      "end outer", "start next", "end next"}},
        ProtocolCase{"SkipAtAnAttributeSuppressesTheRestOfTheElement", "attr a=u8:1", handler_result::skip, 0,
                     {"start outer", "attr a=u8:1", "start next", "end next"}},
        ProtocolCase{"SkipAtContentSuppressesTheRestOfTheElement", "content u8:7", handler_result::skip, 0,
                     {"start outer", "attr a=u8:1", "start inner", "attr b=u8:2", "content u8:7", "start leaf",
                      "end leaf", "content u8:9", "end outer", "start next", "end next"}},
        ProtocolCase{"AbortAtStart", "start inner", handler_result::abort, -1,
                     {"start outer", "attr a=u8:1", "start inner"}},
        ProtocolCase{"AbortAtAttribute", "attr b=u8:2", handler_result::abort, -1,
                     {"start outer", "attr a=u8:1", "start inner", "attr b=u8:2"}},
        ProtocolCase{"AbortAtContent", "content u8:9", handler_result::abort, -1,
                     {"start outer", "attr a=u8:1", "start inner", "attr b=u8:2", "content u8:7", "end inner",
                      "start leaf", "end leaf", "content u8:9"}},
        ProtocolCase{"AbortAtEnd", "end outer", handler_result::abort, -1,
                     {"start outer", "attr a=u8:1", "start inner", "attr b=u8:2", "content u8:7", "end inner",
                      "start leaf", "end leaf", "content u8:9", "end outer"}},
        ProtocolCase{"RawHandsTheElementBytesOverThenReadsOn", "start next", handler_result::raw, 0,
                     {"start outer", "attr a=u8:1", "start inner", "attr b=u8:2", "content u8:7", "end inner",
                      "start leaf", "end leaf", "content u8:9", "end outer", "start next", "raw next 9", "end next"}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(MetaHandlerProtocol, RawResultIsTakenInsteadOfTheStartResult) {
    RecordingHandler handler;
    handler.policy = [](const std::string& event) {
        if (event == "start outer") return handler_result::raw;
        if (event.rfind("raw outer", 0) == 0) return handler_result::skip;
        return handler_result::proceed;
    };
    const Bytes stream = sample_stream();
    meta::detail::reader_impl reader;
    reader.set_handler(&handler);
    EXPECT_EQ(reader.parse(stream.data(), stream.size()), 0);
    EXPECT_EQ(handler.events, (Events{"start outer", "raw outer " + std::to_string(stream.size()), "start next",
                                      "end next"}));
}

TEST(MetaHandlerProtocol, RawElementGetsTheBytesFromItsBeginByte) {
    struct RawProbe : RecordingHandler {
        const std::uint8_t* start = nullptr;
        handler_result start_element(const char*) override { return handler_result::raw; }
        handler_result raw_element(const char*, const std::uint8_t* first, std::size_t) override {
            start = first;
            return handler_result::skip;
        }
    } probe;
    const Bytes stream = ByteBuilder()({0xFF})({0x01}).text("x")({0x02}).bytes();
    meta::detail::reader_impl reader;
    reader.set_handler(&probe);
    EXPECT_EQ(reader.parse(stream.data() + 1, stream.size() - 1), 0);
    EXPECT_EQ(probe.start, stream.data() + 1);
}

TEST(MetaHandlerProtocol, AskAgainAsksTheHandlerThatIsCurrentThen) {
    meta::detail::reader_impl reader;
    RecordingHandler successor;
    struct Forwarder : RecordingHandler {
        meta::detail::reader_impl* reader = nullptr;
        RecordingHandler* next = nullptr;
        handler_result start_element(const char* name) override {
            RecordingHandler::start_element(name);
            reader->set_handler(next);
            return handler_result::ask_again;
        }
    } forwarder;
    forwarder.reader = &reader;
    forwarder.next = &successor;
    reader.set_handler(&forwarder);
    const Bytes stream = ByteBuilder()({0x01}).text("e")({0x21, 0x01, 0x02}).bytes();
    EXPECT_EQ(reader.parse(stream.data(), stream.size()), 0);
    EXPECT_EQ(forwarder.events, (Events{"start e"}));
    EXPECT_EQ(successor.events, (Events{"start e", "content u8:1", "end e"}));
}

TEST(MetaHandlerProtocol, AskAgainRepeatsUntilTheHandlerAnswersOtherwise) {
    RecordingHandler handler;
    int asked = 0;
    handler.policy = [&](const std::string& event) {
        if (event == "start e" && ++asked < 3) return handler_result::ask_again;
        return handler_result::proceed;
    };
    const Bytes stream = ByteBuilder()({0x01}).text("e")({0x02}).bytes();
    meta::detail::reader_impl reader;
    reader.set_handler(&handler);
    EXPECT_EQ(reader.parse(stream.data(), stream.size()), 0);
    EXPECT_EQ(handler.events, (Events{"start e", "start e", "start e", "end e"}));
}

TEST(MetaHandlerProtocol, FaultInsideASkippedElementIsStillReported) {
    RecordingHandler handler;
    handler.policy = [](const std::string& event) {
        return event == "start e" ? handler_result::skip : handler_result::proceed;
    };
    const Bytes stream = ByteBuilder()({0x01}).text("e")({0x01}).text("f")({0x30}).bytes();
    meta::detail::reader_impl reader;
    reader.set_handler(&handler);
    EXPECT_EQ(reader.parse(stream.data(), stream.size()), -1);
    EXPECT_EQ(handler.events, (Events{"start e", "error meta::parse_exception: file is in wrong format"}));
}

TEST(MetaHandlerProtocol, ParseResetsSkippingAndStatus) {
    RecordingHandler handler;
    handler.policy = [](const std::string& event) {
        return event == "start e" ? handler_result::skip : handler_result::proceed;
    };
    meta::detail::reader_impl reader;
    reader.set_handler(&handler);
    const Bytes broken = ByteBuilder()({0x01}).text("e").bytes();
    EXPECT_EQ(reader.parse(broken.data(), broken.size()), -1);
    handler.events.clear();
    const Bytes good = ByteBuilder()({0x01}).text("g")({0x02}).bytes();
    EXPECT_EQ(reader.parse(good.data(), good.size()), 0);
    EXPECT_EQ(handler.events, (Events{"start g", "end g"}));
}

}  // namespace
