// Decoding LED edges into carrier, duty cycle, marks and spaces, and the mode2 text.

#include <gtest/gtest.h>

#include "sim/TraceDecoder.h"

namespace sim_tests {

namespace {

// A carrier of `cycles` periods (on for `on` ns of each) starting at `start`.
void burst(sim::Transmission& t, std::int64_t start, int cycles, std::int64_t period, std::int64_t on) {
    for (int i = 0; i < cycles; ++i) {
        t.edges.push_back({start + i * period, true});
        t.edges.push_back({start + i * period + on, false});
    }
}

TEST(TraceDecoder, MarksSpacesCarrierAndDuty) {
    sim::Transmission t;
    t.begin_ns = 0;
    burst(t, 1000, 100, 26'000, 13'000);            // 2.6 ms mark
    burst(t, 1000 + 2'600'000 + 900'000, 10, 26'000, 13'000);
    t.end_ns = 1000 + 2'600'000 + 900'000 + 260'000 + 5'000'000;
    const auto decoded = sim::TraceDecoder::decode(t);
    EXPECT_DOUBLE_EQ(decoded.period_ns, 26'000);
    EXPECT_DOUBLE_EQ(decoded.duty, 0.5);
    ASSERT_EQ(decoded.segments.size(), 4u);
    EXPECT_EQ(decoded.segments[0].ns, 2'600'000);
    EXPECT_EQ(decoded.segments[0].cycles, 100u);
    EXPECT_EQ(decoded.segments[1].ns, 900'000);
    EXPECT_EQ(decoded.segments[2].ns, 260'000);
    EXPECT_EQ(decoded.segments[3].ns, 5'000'000);
    EXPECT_EQ(decoded.mode2(), "carrier 38462\npulse 2600\nspace 900\npulse 260\nspace 5000\n");
}

TEST(TraceDecoder, ShortGapsInsideAMarkDoNotSplitIt) {
    sim::Transmission t;
    burst(t, 0, 5, 26'000, 13'000);
    burst(t, 5 * 26'000 + 100, 5, 26'000, 13'000);  // a byte boundary 100 ns late
    t.end_ns = 10 * 26'000 + 100;
    const auto decoded = sim::TraceDecoder::decode(t);
    ASSERT_EQ(decoded.segments.size(), 1u);
    EXPECT_EQ(decoded.segments[0].cycles, 10u);
}

TEST(TraceDecoder, SignalEndingOnAMarkEndsOnItDespiteTheEnginesTidyingUp) {
    sim::Transmission t;
    burst(t, 0, 10, 26'000, 13'000);
    t.end_ns = 10 * 26'000 + 400;  // the pin put back a few register accesses later
    EXPECT_EQ(sim::TraceDecoder::decode(t).mode2(), "carrier 38462\npulse 260\n");
}

TEST(TraceDecoder, NoEdgesIsAnEmptyTrace) {
    const auto decoded = sim::TraceDecoder::decode(sim::Transmission{});
    EXPECT_TRUE(decoded.segments.empty());
    EXPECT_EQ(decoded.mode2(), "carrier 0\n");
}

TEST(TraceDecoder, LineLeftLitEndsAtTheTransmissionsEnd) {
    sim::Transmission t;
    t.edges.push_back({1000, true});
    t.end_ns = 51'000;
    const auto decoded = sim::TraceDecoder::decode(t);
    ASSERT_EQ(decoded.segments.size(), 1u);
    EXPECT_EQ(decoded.segments[0].ns, 50'000);
}

}  // namespace

}  // namespace sim_tests
