// The zone files are held against the C library's own reading of the same files and
// rules: every zone of the host's tz database, at instants from 1900 to 2150 (past the
// files' last listed change, where the rule at their end takes over), and every change
// of offset from 1990 to 2060 read back as a wall clock on both sides of it.

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "host/clock/TimeZone.h"
#include "host/clock/TzifFile.h"
#include "host/clock/ZoneRules.h"

namespace {

namespace fs = std::filesystem;
using host::ZoneRules;

const fs::path kDatabase = "/usr/share/zoneinfo";

// The C library's offset from UTC for `utc` in the zone TZ names.
class LibcZone {
public:
    explicit LibcZone(const std::string& tz) {
        const char* saved = getenv("TZ");
        saved_ = saved ? std::optional<std::string>(saved) : std::nullopt;
        setenv("TZ", tz.c_str(), 1);
        tzset();
    }
    ~LibcZone() {
        if (saved_)
            setenv("TZ", saved_->c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    static std::int32_t offset_at(std::int64_t utc) {
        const time_t at = static_cast<time_t>(utc);
        tm local{};
        localtime_r(&at, &local);
        return static_cast<std::int32_t>(local.tm_gmtoff);
    }

private:
    std::optional<std::string> saved_;
};

std::vector<std::string> database_zones() {
    std::vector<std::string> zones;
    for (auto entry = fs::recursive_directory_iterator(kDatabase); entry != fs::recursive_directory_iterator();
         ++entry) {
        const std::string name = fs::relative(entry->path(), kDatabase).string();
        // The copies with leap seconds and in POSIX's form name the same zones again.
        if (entry->is_directory() && (name == "posix" || name == "right")) entry.disable_recursion_pending();
        if (!entry->is_regular_file()) continue;
        std::ifstream file(entry->path(), std::ios::binary);
        char magic[4] = {};
        if (file.read(magic, 4) && std::string(magic, 4) == "TZif") zones.push_back(name);
    }
    return zones;
}

constexpr std::int64_t kYear = 31'556'952;  // the Gregorian year's mean length in seconds
constexpr std::int64_t k1900 = -2'208'988'800;

std::string describe(const std::string& zone, std::int64_t utc) { return zone + " at " + std::to_string(utc); }

TEST(ZoneFile, EveryZoneOfTheHostDatabaseGivesTheOffsetsTheCLibraryGives) {
    const auto zones = database_zones();
    ASSERT_GT(zones.size(), 300u);
    std::mt19937_64 random(20261209);
    std::uniform_int_distribution<std::int64_t> instant(k1900, k1900 + 250 * kYear);
    for (const std::string& zone : zones) {
        const auto rules = host::TzifFile::load(zone);
        ASSERT_TRUE(rules.has_value()) << zone;
        const LibcZone libc(":" + (kDatabase / zone).string());
        for (int i = 0; i < 300; ++i) {
            const std::int64_t utc = instant(random);
            ASSERT_EQ(rules->offset_at(utc), LibcZone::offset_at(utc)) << describe(zone, utc);
        }
    }
}

// The instant in (from, to] at which the C library's offset changes, by halving.
std::int64_t change_between(std::int64_t from, std::int64_t to) {
    const std::int32_t before = LibcZone::offset_at(from);
    while (to - from > 1) {
        const std::int64_t middle = from + (to - from) / 2;
        (LibcZone::offset_at(middle) == before ? from : to) = middle;
    }
    return to;
}

// Around a change from offset `before` to `after` at `change`, every wall-clock reading
// the jump skips, the hour repeated, and the readings just outside them.
void expect_readings_around(const host::TimeZone& zone, std::int64_t change, std::int32_t before,
                            std::int32_t after, const std::string& where) {
    using host::TimeZone;
    using std::chrono::seconds;
    const auto reading = [](std::int64_t local) { return TimeZone::Local(seconds(local)); };
    const auto instant = [](std::int64_t utc) { return TimeZone::Utc(seconds(utc)); };
    const std::int64_t low = change + std::min(before, after), high = change + std::max(before, after);
    for (const std::int64_t local : {low, low + (high - low) / 2, high - 1}) {
        const auto resolved = zone.resolve(reading(local));
        if (after > before) {
            EXPECT_EQ(resolved.fold, TimeZone::Fold::skipped) << where;
            EXPECT_EQ(resolved.instant, instant(local - before)) << where;
            EXPECT_FALSE(zone.to_utc(reading(local)).has_value()) << where;
        } else {
            EXPECT_EQ(resolved.fold, TimeZone::Fold::repeated) << where;
            EXPECT_EQ(resolved.instant, instant(local - before)) << where;
            EXPECT_EQ(resolved.later, instant(local - after)) << where;
        }
    }
    const auto just_before = zone.resolve(reading(low - 1));
    EXPECT_EQ(just_before.fold, TimeZone::Fold::unique) << where;
    EXPECT_EQ(just_before.instant, instant(low - 1 - before)) << where;
    const auto just_after = zone.resolve(reading(high));
    EXPECT_EQ(just_after.fold, TimeZone::Fold::unique) << where;
    EXPECT_EQ(just_after.instant, instant(high - after)) << where;
}

TEST(ZoneFile, EveryChangeOfOffsetReadsAsASkippedOrRepeatedWallClock) {
    constexpr std::int64_t kStart = 631'152'000;  // 1990
    constexpr std::int64_t kStep = 20 * 86'400;
    int changes = 0;
    for (const std::string& name : database_zones()) {
        const auto zone = host::TimeZone::find(name);
        ASSERT_TRUE(zone.has_value()) << name;
        const LibcZone libc(":" + (kDatabase / name).string());
        for (std::int64_t from = kStart; from < kStart + 70 * kYear; from += kStep) {
            if (LibcZone::offset_at(from) == LibcZone::offset_at(from + kStep)) continue;
            const std::int64_t change = change_between(from, from + kStep);
            expect_readings_around(*zone, change, LibcZone::offset_at(change - 1), LibcZone::offset_at(change),
                                   describe(name, change));
            ++changes;
        }
        if (HasFailure()) return;
    }
    EXPECT_GT(changes, 10'000);
}

// Rules the database's files do not all use: days counted with and without February 29,
// daylight saving all year, rule times past midnight and before it, half hours.
TEST(ZoneFile, RulesOfEveryFormGiveTheOffsetsTheCLibraryGives) {
    const std::vector<std::string> rules = {
        "CET-1CEST,M3.5.0,M10.5.0/3",   "AEST-10AEDT,M10.1.0,M4.1.0/3",
        "IST-2IDT,M3.4.4/26,M10.5.0",   "<-03>3<-02>,M3.5.0/-2,M10.5.0/-1", "XXX3YYY,J60/2,300/2",
        "<+0330>-3:30<+0430>,J79/24,J263/24", "LHST-10:30LHDT-11,M10.1.0,M4.1.0", "<+13>-13"};
    constexpr std::int64_t k2020 = 1'577'836'800;
    for (const std::string& text : rules) {
        const auto rule = host::PosixZoneRule::parse(text);
        ASSERT_TRUE(rule.has_value()) << text;
        const ZoneRules zone(rule->standard_offset(), {}, rule);
        const LibcZone libc(text);
        // Every six hours of forty years, leap years among them: a change a day off shows.
        for (std::int64_t utc = k2020; utc < k2020 + 40 * kYear; utc += 6 * 3600)
            ASSERT_EQ(zone.offset_at(utc), LibcZone::offset_at(utc)) << describe(text, utc);
    }
    // Daylight saving all year: ending 25 hours into December 31 it meets the next year's
    // start. (The C library falls back to standard time in the hours before that start.)
    const auto all_year = host::PosixZoneRule::parse("EST5EDT,0/0,J365/25");
    ASSERT_TRUE(all_year.has_value());
    const ZoneRules daylight_all_year(all_year->standard_offset(), {}, all_year);
    for (const std::int64_t utc : {2'429'925'607LL, 2'429'935'200LL, 2'429'938'800LL, 2'445'000'000LL})
        EXPECT_EQ(daylight_all_year.offset_at(utc), -4 * 3600) << utc;

    for (const char* refused : {"", "CE-1", "CET", "CET-1CEST", "CET-1CEST,M3.5.0", "CET-1CEST,M13.5.0,M10.5.0",
                                "CET-1CEST,M3.5.0,M10.5.0/168", "<+03", "CET-25", "CET-1CEST,J0,J365"})
        EXPECT_FALSE(host::PosixZoneRule::parse(refused).has_value()) << refused;
}

std::string big_endian(std::uint64_t value, int bytes) {
    std::string text;
    for (int i = bytes - 1; i >= 0; --i) text += static_cast<char>(value >> (8 * i) & 0xff);
    return text;
}

struct Tzif {
    std::vector<std::pair<std::int64_t, int>> changes;  // instant, type
    std::vector<std::int32_t> offsets{3600, 7200};
    int leap_seconds = 0;
    std::string footer = "CET-1CEST,M3.5.0,M10.5.0/3";

    std::string bytes() const {
        const auto header = [](std::uint64_t transitions, std::uint64_t types, std::uint64_t leaps) {
            return std::string("TZif2") + std::string(15, '\0') + big_endian(0, 4) + big_endian(0, 4) +
                   big_endian(leaps, 4) + big_endian(transitions, 4) + big_endian(types, 4) + big_endian(4, 4);
        };
        // A first block of one type and nothing else, as files made for 64-bit readers have.
        std::string file = header(0, 1, 0) + big_endian(0, 4) + std::string(2, '\0') + "LMT";
        file += '\0';
        file += header(changes.size(), offsets.size(), static_cast<std::uint64_t>(leap_seconds));
        for (const auto& change : changes) file += big_endian(static_cast<std::uint64_t>(change.first), 8);
        for (const auto& change : changes) file += static_cast<char>(change.second);
        for (const std::int32_t offset : offsets)
            file += big_endian(static_cast<std::uint32_t>(offset), 4) + static_cast<char>(offset == 7200) + '\0';
        file += std::string("CET") + '\0';
        for (int i = 0; i < leap_seconds; ++i) file += big_endian(78796800, 8) + big_endian(1, 4);
        return file + "\n" + footer + "\n";
    }
};

TEST(ZoneFile, DamagedFilesAndNamesOutsideTheDatabaseAreNoZone) {
    const Tzif sound{{{-1'000'000, 1}, {0, 0}}};
    const auto rules = host::TzifFile::parse(sound.bytes());
    ASSERT_TRUE(rules.has_value());
    EXPECT_EQ(rules->offset_at(-1'000'001), 3600);  // before the first change: the first type
    EXPECT_EQ(rules->offset_at(-1'000'000), 7200);
    EXPECT_EQ(rules->offset_at(1'000'000), 3600);
    EXPECT_EQ(rules->offset_at(1'910'000'000), 7200);  // 2030-07-11, from the rule at the end: summer
    const std::string whole = sound.bytes();
    for (std::size_t length = 0; length < whole.size(); ++length)
        EXPECT_FALSE(host::TzifFile::parse(whole.substr(0, length)).has_value()) << length;

    Tzif unknown_type = sound, out_of_order = sound, leaps = sound, bad_rule = sound, no_types = sound;
    unknown_type.changes[1].second = 2;
    out_of_order.changes[1].first = -2'000'000;
    leaps.leap_seconds = 1;
    bad_rule.footer = "CET-1CEST";
    no_types.offsets.clear();
    no_types.changes.clear();
    for (const Tzif& damaged : {unknown_type, out_of_order, leaps, bad_rule, no_types})
        EXPECT_FALSE(host::TzifFile::parse(damaged.bytes()).has_value()) << damaged.bytes();

    for (const char* name : {"", "/etc/passwd", "../zoneinfo/Europe/Berlin", "Europe/../Europe/Berlin", "Europe//Berlin",
                             "Europe/Berlin/", "zone.tab", "Europe", "Mars/Olympus_Mons", "Europe/Berlin\n"})
        EXPECT_FALSE(host::TimeZone::find(name).has_value()) << name;
    EXPECT_TRUE(host::TimeZone::find("Etc/GMT+5").has_value());
}

// A tzdata upgrade replacing a zone's file under a process that lives on: read again,
// and a damaged replacement (or a FIFO, which must not block the clock) leaves the rules
// read before in force.
TEST(ZoneFile, AReplacedFileIsReadAgainAndADamagedOneKeepsTheRulesReadBefore) {
    const fs::path folder = fs::temp_directory_path() / ("kivo-zones-" + std::to_string(getpid()));
    fs::create_directories(folder / "Test");
    const auto replace = [&](const std::string& bytes) {
        std::ofstream(folder / "Test/.Zone.new", std::ios::binary) << bytes;
        fs::rename(folder / "Test/.Zone.new", folder / "Test/Zone");
    };
    const Tzif one_hour{{}, {3600}, 0, "CET-1"}, two_hours{{}, {7200}, 0, "EET-2"};
    replace(one_hour.bytes());
    setenv("TZDIR", folder.c_str(), 1);
    const auto offset_now = [] {
        return host::TimeZone::find("Test/Zone")->to_local(host::TimeZone::Utc{}).count() / 1000;
    };
    ASSERT_TRUE(host::TimeZone::find("Test/Zone").has_value());
    const auto first = *host::TimeZone::find("Test/Zone");
    EXPECT_EQ(offset_now(), 3600);
    EXPECT_EQ(host::TimeZone::reread("Test/Zone"), host::TimeZone::Reread::unchanged);

    replace(two_hours.bytes());
    EXPECT_EQ(host::TimeZone::reread("Test/Zone"), host::TimeZone::Reread::replaced);
    EXPECT_EQ(offset_now(), 7200);
    EXPECT_FALSE(host::TimeZone::find("Test/Zone")->same_rules(first));

    replace("TZif2 and nothing a zone file holds");
    EXPECT_EQ(host::TimeZone::reread("Test/Zone"), host::TimeZone::Reread::damaged);
    EXPECT_EQ(host::TimeZone::reread("Test/Zone"), host::TimeZone::Reread::unchanged) << "said once";
    EXPECT_EQ(offset_now(), 7200);

    fs::remove(folder / "Test/Zone");
    ASSERT_EQ(mkfifo((folder / "Test/Zone").c_str(), 0600), 0);
    EXPECT_EQ(host::TimeZone::reread("Test/Zone"), host::TimeZone::Reread::damaged);
    EXPECT_EQ(offset_now(), 7200);
    unsetenv("TZDIR");
    fs::remove_all(folder);
}

}  // namespace
