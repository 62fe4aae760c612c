// Signal records byte by byte: entry packing at the 16-bit limits, the 255-entry limit,
// parts chosen modulo their count, legacy records, and records that claim more than
// they hold.

#include <gtest/gtest.h>

#include <climits>

#include "CodebaseTesting.h"
#include "irlib/card/codebase_writer.h"
#include "irlib/card/result_codes.h"
#include "irlib/card/signal_record.h"

namespace {

using namespace codebase_testing;
using platform::card::kBadSignal;
using platform::card::kNotSignal;
using platform::card::signal_data;
using platform::card::signal_record;

Bytes encoded(const signal_data& signal, const std::string& name = "TV") {
    Bytes record;
    EXPECT_EQ(signal_record::encode(name, signal, record), 0);
    return record;
}

// The entries of a one-part record named "TV" (they start at offset 14).
std::vector<std::int16_t> entries_of(const Bytes& record) {
    std::vector<std::int16_t> entries;
    for (std::size_t i = 14; i + 1 < record.size(); i += 2)
        entries.push_back(static_cast<std::int16_t>(pdb::read_be16(&record[i])));
    return entries;
}

signal_data decoded(const Bytes& record, int part = 0) {
    signal_data signal;
    EXPECT_EQ(signal_record::decode(record, part, signal), 0);
    return signal;
}

TEST(SignalRecord, TwoDurationSignalIsTheEighteenBytesOfTheFormat) {
    const Bytes record = encoded({{9000, -4500}, 0, 26});
    EXPECT_EQ(record, (Bytes{0x00, 0x02, 0x54, 0x56, 0x00, 0x00, 0x00, 0x01, 0x00, 0x1A, 0x00, 0x02, 0x00, 0x00,
                             0x23, 0x28, 0xEE, 0x6C}));
    const signal_data back = decoded(record);
    EXPECT_EQ(back.durations, (std::vector<std::int32_t>{9000, -4500}));
    EXPECT_EQ(back.carrier_period, 26);
}

struct Packing {
    const char* name;
    std::int32_t duration;
    std::vector<std::int16_t> entries;
};

class EntryPacking : public ::testing::TestWithParam<Packing> {};

TEST_P(EntryPacking, DurationBecomesItsEntriesAndReadsBack) {
    const auto& p = GetParam();
    // A space (or mark) of the other sign on each side keeps the duration on its own.
    const std::int32_t other = p.duration > 0 ? -1 : 1;
    const Bytes record = encoded({{other, p.duration, other}, 0, 26});
    std::vector<std::int16_t> want{static_cast<std::int16_t>(other)};
    want.insert(want.end(), p.entries.begin(), p.entries.end());
    want.push_back(static_cast<std::int16_t>(other));
    EXPECT_EQ(entries_of(record), want);
    EXPECT_EQ(decoded(record).durations, (std::vector<std::int32_t>{other, p.duration, other}));
}

INSTANTIATE_TEST_SUITE_P(
    Limits, EntryPacking,
    ::testing::Values(Packing{"Plus32767", 32767, {32767}}, Packing{"Plus32768", 32768, {32767, 1}},
                      Packing{"Minus32767", -32767, {-32767}}, Packing{"Minus32768", -32768, {-32767, -1}},
                      Packing{"Plus40000", 40000, {32767, 7233}}, Packing{"Minus40000", -40000, {-32767, -7233}},
                      Packing{"Plus65535", 65535, {32767, 32767, 1}},
                      Packing{"Minus65534", -65534, {-32767, -32767}}),
    [](const auto& row) { return std::string(row.param.name); });

TEST(SignalRecord, EncodingRefusesWhatDoesNotFitInto1To255Entries) {
    Bytes untouched{7};
    const auto refused = [&](const std::vector<std::int32_t>& durations) {
        return signal_record::encode("TV", {durations, 0, 26}, untouched);
    };
    std::vector<std::int32_t> alternating(255);
    for (std::size_t i = 0; i < alternating.size(); ++i) alternating[i] = i % 2 ? -500 : 500;
    Bytes record;
    EXPECT_EQ(signal_record::encode("TV", {alternating, 0, 26}, record), 0);
    EXPECT_EQ(record.size(), 14u + 2 * 255);

    alternating.back() = -32768;  // the last duration now takes two entries: 256
    EXPECT_EQ(refused(alternating), kBadSignal);
    EXPECT_EQ(refused({}), kBadSignal);
    EXPECT_EQ(refused({INT_MIN}), kBadSignal);
    EXPECT_EQ(refused({INT_MAX}), kBadSignal);
    // 65533 x 65537 + 2 x 65538 entries: a 32-bit sum of them wraps round to 1.
    std::vector<std::int32_t> wrapping(65533, INT_MIN);
    wrapping.insert(wrapping.end(), {INT_MAX, INT_MAX});
    EXPECT_EQ(refused(wrapping), kBadSignal);
    EXPECT_EQ(untouched, Bytes{7});
}

TEST(SignalRecord, NameIsPaddedToAnEvenLength) {
    // "TV" + NUL is three bytes and gets a pad byte; "TVS" + NUL is four and does not.
    EXPECT_EQ(encoded({{500}, 0, 26}, "TV").size(), 2u + 4 + 2 + 6 + 2);
    const Bytes three = encoded({{500}, 0, 26}, "TVS");
    EXPECT_EQ(three.size(), 2u + 4 + 2 + 6 + 2);
    EXPECT_EQ(Bytes(three.begin() + 2, three.begin() + 8), (Bytes{'T', 'V', 'S', 0, 0, 1}));
    EXPECT_EQ(decoded(three).durations, std::vector<std::int32_t>{500});
}

TEST(SignalRecord, PartsAreChosenModuloTheirCount) {
    const Bytes one = encoded({{9000, -4500}, 0, 26});
    Bytes two;
    ASSERT_EQ(signal_record::add_part(one, {{100, -200, 300}, 2, 25}, two), 0);
    EXPECT_EQ(pdb::read_be16(&two[6]), 2);
    Bytes head(two.begin(), two.begin() + static_cast<long>(one.size()));
    head[7] = 1;
    EXPECT_EQ(head, one);  // the old record is kept in front, only its part count changes
    for (int part : {0, 2, 4}) EXPECT_EQ(decoded(two, part).durations, (std::vector<std::int32_t>{9000, -4500}));
    for (int part : {1, 3}) {
        const signal_data second = decoded(two, part);
        EXPECT_EQ(second.durations, (std::vector<std::int32_t>{100, -200, 300}));
        EXPECT_EQ(second.repeat_start, 2);
        EXPECT_EQ(second.carrier_period, 25);
    }
    // A one-part record gives its part whatever is asked.
    EXPECT_EQ(decoded(one, 1).durations, (std::vector<std::int32_t>{9000, -4500}));
}

TEST(SignalRecord, NeighboursOfOneSignReadBackAsTheirSum) {
    const signal_data back = decoded(encoded({{100, 200, -300, 0, 5}, 3, 26}));
    EXPECT_EQ(back.durations, (std::vector<std::int32_t>{300, -300, 5}));
    EXPECT_EQ(back.repeat_start, 3);  // still counts the durations as they were given
}

// Legacy layout: name padded even, an unused byte, signed 8-bit carrier, then per part a
// signed 8-bit repeat start, an entry count and the entries.
Bytes legacy(const Bytes& tail) {
    Bytes record = tail;
    const Bytes head{'T', 'V', 0, 0, 0xAA, 26};
    record.insert(record.begin(), head.begin(), head.end());
    return record;
}

TEST(SignalRecord, LegacyRecordsGiveTheirSecondPartOnlyWhenItHasEntries) {
    const Bytes two_parts = legacy({0, 2, 0x23, 0x28, 0xEE, 0x6C, 1, 1, 0x01, 0xF4});
    EXPECT_EQ(decoded(two_parts, 0).durations, (std::vector<std::int32_t>{9000, -4500}));
    const signal_data second = decoded(two_parts, 1);
    EXPECT_EQ(second.durations, std::vector<std::int32_t>{500});
    EXPECT_EQ(second.repeat_start, 1);
    EXPECT_EQ(second.carrier_period, 26);
    EXPECT_EQ(decoded(two_parts, 7).durations, std::vector<std::int32_t>{500});

    const Bytes empty_second = legacy({0, 2, 0x23, 0x28, 0xEE, 0x6C, 1, 0, 0, 0});
    for (int part : {0, 1, 2}) EXPECT_EQ(decoded(empty_second, part).durations, (std::vector<std::int32_t>{9000, -4500}));
    const Bytes no_second = legacy({0, 1, 0x01, 0xF4});
    EXPECT_EQ(decoded(no_second, 1).durations, std::vector<std::int32_t>{500});

    // Carrier and repeat start are signed bytes, widened with their sign.
    Bytes negative = legacy({0xFE, 1, 0x01, 0xF4});
    negative[5] = 0x80;
    const signal_data widened = decoded(negative);
    EXPECT_EQ(widened.carrier_period, 0xFF80);
    EXPECT_EQ(widened.repeat_start, 0xFFFE);
}

struct Invalid {
    const char* name;
    Bytes record;
    int result;
};

class InvalidRecord : public ::testing::TestWithParam<Invalid> {};

TEST_P(InvalidRecord, GivesItsResultAndNoSignal) {
    signal_data signal{{1, -1}, 4, 9};
    EXPECT_EQ(signal_record::decode(GetParam().record, 0, signal), GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Records, InvalidRecord,
    ::testing::Values(
        Invalid{"MacroKind", {0x00, 0x01, 'A', 0, 0x01}, kNotSignal}, Invalid{"UnknownKind", {0x00, 0x03, 0}, kNotSignal},
        Invalid{"Empty", {}, kNotSignal}, Invalid{"NameWithoutNul", {0x00, 0x02, 'T', 'V'}, kBadSignal},
        Invalid{"NoPartCount", {0x00, 0x02, 'T', 'V', 0, 0, 0x00}, kBadSignal},
        Invalid{"NoParts", {0x00, 0x02, 'T', 'V', 0, 0, 0x00, 0x00}, kBadSignal},
        Invalid{"PartWithoutEntries", {0x00, 0x02, 'T', 'V', 0, 0, 0, 1, 0, 26, 0, 0, 0, 0}, kBadSignal},
        Invalid{"EntriesCut", {0x00, 0x02, 'T', 'V', 0, 0, 0, 1, 0, 26, 0, 2, 0, 0, 0x23, 0x28, 0xEE}, kBadSignal},
        Invalid{"PartHeaderCut", {0x00, 0x02, 'T', 'V', 0, 0, 0, 1, 0, 26, 0}, kBadSignal},
        Invalid{"HugeEntryCount", {0x00, 0x02, 'T', 'V', 0, 0, 0, 1, 0, 26, 0xFF, 0xFF, 0, 0, 1, 1}, kBadSignal},
        Invalid{"LegacyCut", {'T', 'V', 0, 0, 0xAA, 26, 0, 3, 0x01, 0xF4}, kBadSignal},
        Invalid{"LegacyWithoutEntries", {'T', 'V', 0, 0, 0xAA, 26, 0, 0}, kBadSignal},
        Invalid{"LegacyNameOnly", {'T', 'V', 0}, kBadSignal}),
    [](const auto& row) { return std::string(row.param.name); });

class PutSignal : public CodebaseFolder {
protected:
    // Part `part` of signal `name` as a reader of the committed file sees it.
    static std::vector<std::int32_t> stored(const std::string& name, int part) {
        platform::card::codebase reader;
        EXPECT_EQ(reader.open("7"), platform::card::kOk);
        const int index = reader.find_signal(name);
        if (index < 1 || reader.decode_signal(index, part) != 0) return {};
        return reader.decoded_signal().durations;
    }
};

TEST_F(PutSignal, AddsPartsToASignalOrReplacesItAndReadsBackAfterReopening) {
    const std::vector<std::int32_t> on{9000, -4500, 560, -40000}, off{9000, -2250, 560, -96000}, vol{889, -889};
    ASSERT_EQ(registry().create_codebase("7", Bytes{0, 0, 0, 0}), platform::card::kOk);
    platform::card::codebase_writer writer;
    ASSERT_EQ(writer.open("7"), platform::card::kOk);
    ASSERT_EQ(writer.put_signal("TV", {on, 2, 26}, false), 0);
    ASSERT_EQ(writer.put_signal("TV", {off, 2, 26}, false), 0);
    ASSERT_EQ(writer.put_signal("VOL", {vol, 0, 28}, true), 0);
    EXPECT_EQ(writer.put_signal("VOL", {{}, 0, 28}, true), kBadSignal);
    EXPECT_EQ(writer.record_count(), 3);
    EXPECT_EQ(writer.decode_signal(0, 0), kNotSignal);  // the application header
    ASSERT_EQ(writer.commit(), 0);
    writer.close();  // the writer's open file admits no reader
    EXPECT_EQ(stored("TV", 0), on);
    EXPECT_EQ(stored("TV", 1), off);
    EXPECT_EQ(stored("VOL", 0), vol);

    ASSERT_EQ(writer.open("7"), platform::card::kOk);
    ASSERT_EQ(writer.put_signal("TV", {vol, 0, 28}, true), 0);
    EXPECT_EQ(writer.record_count(), 3);
    ASSERT_EQ(writer.commit(), 0);
    writer.close();
    EXPECT_EQ(stored("TV", 1), vol);  // one part again
}

}  // namespace
