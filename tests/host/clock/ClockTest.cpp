#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <ostream>
#include <string>
#include <thread>

#include "TempDevice.h"
#include "ce/Time.h"
#include "host/Database.h"
#include "host/Device.h"
#include "host/clock/Clock.h"
#include "host/clock/LocalTime.h"

using namespace ce;

namespace {

SYSTEMTIME at(int year, int month, int day, int hour, int minute) {
    return host::system_time(year, month, day, hour, minute);
}

std::int64_t ms_of(const SYSTEMTIME& time) {
    FILETIME file;
    EXPECT_TRUE(SystemTimeToFileTime(&time, &file));
    return static_cast<std::int64_t>((std::uint64_t{file.dwHighDateTime} << 32 | file.dwLowDateTime) / 10'000);
}

std::int64_t local_minus_utc_minutes() {
    SYSTEMTIME local;
    SYSTEMTIME utc;
    GetLocalTime(&local);
    GetSystemTime(&utc);
    const std::int64_t ms = ms_of(local) - ms_of(utc);
    return (ms + (ms < 0 ? -30'000 : 30'000)) / 60'000;
}

std::int64_t host_utc_ms() {
    using namespace std::chrono;
    // FILETIME milliseconds of the host's UTC, to compare with the device's.
    return duration_cast<milliseconds>(system_clock::now().time_since_epoch()).count() + 11'644'473'600'000LL;
}

using Clock = testing_support::TempDevice;

TEST_F(Clock, StartsOnHostUtc) {
    EXPECT_EQ(host::clock_settings().zone, "UTC");
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    EXPECT_NEAR(static_cast<double>(ms_of(utc)), static_cast<double>(host_utc_ms()), 2000.0);
    EXPECT_EQ(local_minus_utc_minutes(), 0);
}

TEST_F(Clock, LocalTimeSetIsReadBack) {
    ASSERT_TRUE(host::set_time_zone("Europe/Berlin"));
    const SYSTEMTIME wanted = at(2031, 5, 6, 7, 8);
    ASSERT_TRUE(host::set_local_time(wanted));
    SYSTEMTIME now;
    GetLocalTime(&now);
    EXPECT_GE(ms_of(now), ms_of(wanted)) << "never a moment before the time set";
    EXPECT_LT(ms_of(now), ms_of(wanted) + 2000);
    EXPECT_EQ(now.wDayOfWeek, 2) << "6 May 2031 is a Tuesday";

    // A new zone keeps the instant and moves only the local reading.
    SYSTEMTIME before;
    GetSystemTime(&before);
    ASSERT_TRUE(host::set_time_zone("Asia/Tokyo"));
    SYSTEMTIME after;
    GetSystemTime(&after);
    EXPECT_NEAR(static_cast<double>(ms_of(after)), static_cast<double>(ms_of(before)), 2000.0);
    EXPECT_EQ(local_minus_utc_minutes(), 9 * 60);
}

struct ZoneCase {
    const char* zone;
    SYSTEMTIME local;
    int offset_minutes;
};

void PrintTo(const ZoneCase& row, std::ostream* out) { *out << row.zone << " in month " << row.local.wMonth; }

class ClockInZone : public testing_support::TempDevice, public testing::WithParamInterface<ZoneCase> {};

TEST_P(ClockInZone, LocalTimeFollowsDaylightSaving) {
    ASSERT_TRUE(host::set_time_zone(GetParam().zone));
    ASSERT_TRUE(host::set_local_time(GetParam().local));
    EXPECT_EQ(local_minus_utc_minutes(), GetParam().offset_minutes);
}

INSTANTIATE_TEST_SUITE_P(Zones, ClockInZone,
                         testing::Values(ZoneCase{"Europe/Berlin", at(2024, 1, 15, 12, 0), 60},
                                         ZoneCase{"Europe/Berlin", at(2024, 7, 15, 12, 0), 120},
                                         ZoneCase{"America/New_York", at(2024, 1, 15, 12, 0), -300},
                                         ZoneCase{"America/New_York", at(2024, 7, 15, 12, 0), -240},
                                         ZoneCase{"Australia/Sydney", at(2024, 1, 15, 12, 0), 660},
                                         ZoneCase{"Australia/Sydney", at(2024, 7, 15, 12, 0), 600},
                                         ZoneCase{"Asia/Kolkata", at(2024, 7, 15, 12, 0), 330}),
                         [](const auto& row) {
                             std::string name = row.param.zone + std::string("_") + std::to_string(row.param.local.wMonth);
                             for (char& c : name)
                                 if (c == '/') c = '_';
                             return name;
                         });

TEST_F(Clock, SkippedTimesAreRefusedAndRepeatedOnesTakeTheEarlier) {
    ASSERT_TRUE(host::set_time_zone("Europe/Berlin"));
    const auto offset = host::clock_settings().offset_ms;
    EXPECT_FALSE(host::set_local_time(at(2024, 3, 31, 2, 30)));
    EXPECT_EQ(host::clock_settings().offset_ms, offset);

    ASSERT_TRUE(host::set_local_time(at(2024, 10, 27, 2, 30)));
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    EXPECT_NEAR(static_cast<double>(ms_of(utc)), static_cast<double>(ms_of(at(2024, 10, 27, 0, 30))), 2000.0);
}

TEST_F(Clock, BadZonesAndDatesChangeNothing) {
    for (const char* zone : {"Mars/Olympus_Mons", "", "europe/berlin"}) EXPECT_FALSE(host::set_time_zone(zone)) << zone;
    EXPECT_EQ(host::clock_settings().zone, "UTC");
    SYSTEMTIME bad = at(2024, 2, 30, 12, 0);
    EXPECT_FALSE(host::set_local_time(bad));
    bad = at(2024, 2, 1, 24, 0);
    EXPECT_FALSE(host::set_local_time(bad));
    EXPECT_EQ(host::clock_settings().offset_ms, 0);
}

TEST_F(Clock, SettingsWrittenByAnotherProgramApplyAtOnce) {
    auto& database = host::Device::current().database();
    ASSERT_TRUE(database.set_setting(host::kClockOffsetSetting, "86400000"));
    ASSERT_TRUE(database.set_setting(host::kClockZoneSetting, "Asia/Kolkata"));
    SYSTEMTIME utc;
    GetSystemTime(&utc);
    EXPECT_NEAR(static_cast<double>(ms_of(utc) - host_utc_ms()), 86'400'000.0, 2000.0);
    EXPECT_EQ(local_minus_utc_minutes(), 330);
    // A zone this host does not know keeps the device on UTC instead of failing.
    ASSERT_TRUE(database.set_setting(host::kClockZoneSetting, "Nowhere/Land"));
    EXPECT_EQ(local_minus_utc_minutes(), 0);
}

// Another program has its own connection to device.db; the settings this process keeps
// are read again once that program's change is committed, not before, not later.
TEST_F(Clock, SettingsCommittedThroughAnotherConnectionApplyAtOnce) {
    const auto kept = host::clock_settings();  // read and kept by this process
    host::Database other;
    ASSERT_TRUE(other.open((device_root() / "device.db").string(), device_root() / "run" / "settings.changes"));
    ASSERT_TRUE(other.set_setting(host::kClockZoneSetting, "Asia/Kolkata"));
    EXPECT_EQ(host::clock_settings().zone, "Asia/Kolkata");
    EXPECT_EQ(local_minus_utc_minutes(), 330);
    {
        host::Transaction transaction(other);
        ASSERT_TRUE(transaction.ok());
        ASSERT_TRUE(other.set_setting(host::kClockOffsetSetting, "3600000"));
        ASSERT_TRUE(other.set_setting(host::kClockZoneSetting, "Europe/Paris"));
        EXPECT_EQ(host::clock_settings().zone, "Asia/Kolkata") << "not committed yet";
        ASSERT_TRUE(transaction.commit());
    }
    EXPECT_EQ(host::clock_settings().zone, "Europe/Paris");
    EXPECT_EQ(host::clock_settings().offset_ms, 3'600'000);
    EXPECT_NE(kept.zone, "Europe/Paris");
}

// A change of zone reads the new zone back inside its own transaction, and a change rolled
// back leaves the zone as it was.
TEST_F(Clock, ASettingWrittenInATransactionReadsBackAtOnceAndRollsBack) {
    auto& database = host::Device::current().database();
    ASSERT_TRUE(host::set_time_zone("Asia/Tokyo"));
    EXPECT_EQ(host::clock_settings().zone, "Asia/Tokyo");
    {
        host::Transaction transaction(database);
        ASSERT_TRUE(transaction.ok());
        ASSERT_TRUE(host::set_time_zone("Europe/Berlin"));
        EXPECT_EQ(host::clock_settings().zone, "Europe/Berlin");
    }
    EXPECT_EQ(host::clock_settings().zone, "Asia/Tokyo") << "rolled back";
}

TEST(TickCount, AdvancesInMilliseconds) {
    const DWORD start = GetTickCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(60));
    const DWORD elapsed = GetTickCount() - start;
    EXPECT_GE(elapsed, 55u);
    EXPECT_LT(elapsed, 10'000u);
}

}  // namespace

namespace {

struct FoldCase {
    const char* name;
    const char* zone;
    SYSTEMTIME local;
    SYSTEMTIME utc;
    DWORD fold;
};

// Berlin springs forward on 2026-03-29 at 02:00 and falls back on 2026-10-25 at 03:00;
// New York on 2026-03-08 at 02:00 and 2026-11-01 at 02:00.
const FoldCase kFoldCases[] = {
    {"BerlinWinter", "Europe/Berlin", at(2026, 1, 10, 6, 30), at(2026, 1, 10, 5, 30), LOCAL_TIME_UNIQUE},
    {"BerlinSkipped", "Europe/Berlin", at(2026, 3, 29, 2, 30), at(2026, 3, 29, 1, 30), LOCAL_TIME_SKIPPED},
    {"BerlinAfterTheGap", "Europe/Berlin", at(2026, 3, 29, 3, 0), at(2026, 3, 29, 1, 0), LOCAL_TIME_UNIQUE},
    {"BerlinRepeated", "Europe/Berlin", at(2026, 10, 25, 2, 30), at(2026, 10, 25, 0, 30), LOCAL_TIME_REPEATED},
    {"NewYorkSkipped", "America/New_York", at(2026, 3, 8, 2, 59), at(2026, 3, 8, 7, 59), LOCAL_TIME_SKIPPED},
    // Lord Howe moves its clock by half an hour.
    {"LordHoweSkipped", "Australia/Lord_Howe", at(2027, 10, 3, 2, 15), at(2027, 10, 2, 15, 45), LOCAL_TIME_SKIPPED},
    {"NewYorkRepeated", "America/New_York", at(2026, 11, 1, 1, 30), at(2026, 11, 1, 5, 30), LOCAL_TIME_REPEATED},
};

class LocalCalendarTime : public testing_support::TempDevice, public testing::WithParamInterface<FoldCase> {};

TEST_P(LocalCalendarTime, ResolvesToOneInstantAndSaysHow) {
    const FoldCase& row = GetParam();
    ASSERT_TRUE(host::set_time_zone(row.zone));
    SYSTEMTIME utc;
    DWORD fold = 99;
    ASSERT_TRUE(LocalTimeToSystemTime(&row.local, &utc, &fold));
    EXPECT_EQ(fold, row.fold);
    EXPECT_EQ(ms_of(utc), ms_of(row.utc));
    SYSTEMTIME back;
    ASSERT_TRUE(SystemTimeToLocalTime(&utc, &back));
    if (row.fold != LOCAL_TIME_SKIPPED) {
        EXPECT_EQ(ms_of(back), ms_of(row.local));
    }
}

INSTANTIATE_TEST_SUITE_P(Zones, LocalCalendarTime, testing::ValuesIn(kFoldCases),
                         [](const auto& row) { return std::string(row.param.name); });

TEST_F(Clock, LocalCalendarTimesThatCannotExistAreRefused) {
    SYSTEMTIME utc;
    for (const SYSTEMTIME& bad : {at(2026, 2, 29, 6, 0), at(2026, 1, 1, 25, 0), at(2026, 1, 1, 6, 61)}) {
        EXPECT_FALSE(LocalTimeToSystemTime(&bad, &utc));
        EXPECT_FALSE(SystemTimeToLocalTime(&bad, &utc));
    }
    EXPECT_FALSE(LocalTimeToSystemTime(nullptr, &utc));
}

}  // namespace

namespace {

// The text the handheld keeps local times in (notification database, logs).
TEST(LocalTimeText, ReadsBackWhatItWritesAndRefusesOtherShapes) {
    const auto time = host::time_from_text("2024-02-29 23:59:58.250");
    ASSERT_TRUE(time);
    EXPECT_EQ(time->wDayOfWeek, 4);  // a Thursday
    EXPECT_EQ(host::time_text(*time, true), "2024-02-29 23:59:58.250");
    EXPECT_EQ(host::time_text(*time), "2024-02-29 23:59:58");
    for (const char* other : {"2023-02-29 10:00:00", "2024-03-05 24:00:00", "2024-03-05 14:30", "2024-03-05 14:30:00x",
                              "05.03.2024 14:30:00", ""})
        EXPECT_FALSE(host::time_from_text(other)) << other;
}

}  // namespace
