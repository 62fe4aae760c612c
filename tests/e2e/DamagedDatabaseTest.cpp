// A handheld whose device.db was damaged while its service was stopped, four ways: the
// next start says so, keeps the damaged file aside, makes a new database and registers
// the alarms again from the alarm files, so the next alarm goes off at its second.

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "AlertHandheld.h"
#include "StandIn.h"
#include "host/Device.h"
#include "host/clock/Clock.h"

namespace {

using ::testing::HasSubstr;

enum class Damage { emptied, cut_short_with_its_wal, random_bytes_over_a_page, header_overwritten };

struct DamageCase {
    const char* name;
    Damage damage;
};
void PrintTo(const DamageCase& value, std::ostream* out) { *out << value.name; }

class DamagedDatabase : public e2e::AlertHandheld, public ::testing::WithParamInterface<DamageCase> {
protected:
    std::filesystem::path database() const { return device_root() / "device.db"; }

    // Writes `bytes` at `offset` of device.db.
    void overwrite(std::streamoff offset, const std::string& bytes) const {
        std::fstream file(database(), std::ios::in | std::ios::out | std::ios::binary);
        file.seekp(offset);
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        ASSERT_TRUE(file.good());
    }

    // Cuts device.db to its first page and leaves beside it a WAL of commits made before
    // its last checkpoint, as a handheld copied or cut short while a program wrote.
    void cut_short_with_its_wal() const {
        sqlite3* db = nullptr;
        ASSERT_EQ(sqlite3_open(database().c_str(), &db), SQLITE_OK);
        ASSERT_EQ(sqlite3_exec(db, "PRAGMA wal_autocheckpoint=0; INSERT INTO settings VALUES ('test.write', 'x')",
                               nullptr, nullptr, nullptr),
                  SQLITE_OK);
        const auto wal = database().string() + "-wal";
        const auto kept = device_root() / "kept-wal";
        std::filesystem::copy_file(wal, kept);
        sqlite3_close(db);
        std::filesystem::resize_file(database(), 4096);
        std::filesystem::rename(kept, wal);
    }

    void damage(Damage how) const {
        switch (how) {
        case Damage::emptied:
            std::filesystem::resize_file(database(), 0);
            break;
        case Damage::cut_short_with_its_wal:
            cut_short_with_its_wal();
            break;
        case Damage::random_bytes_over_a_page: {
            std::mt19937 random(43);
            std::string page(4096, '\0');
            for (char& byte : page) byte = static_cast<char>(random());
            overwrite(4096, page);
            break;
        }
        case Damage::header_overwritten:
            overwrite(0, std::string(100, '\x5a'));
            break;
        }
    }

    std::vector<std::filesystem::path> kept_aside() const {
        std::vector<std::filesystem::path> kept;
        for (const auto& entry : std::filesystem::directory_iterator(device_root()))
            if (entry.path().filename().string().starts_with("device.db.damaged-") &&
                !entry.path().filename().string().ends_with("-wal"))
                kept.push_back(entry.path());
        return kept;
    }
};

TEST_P(DamagedDatabase, TheStartSaysSoKeepsTheFileAsideAndTheNextAlarmRingsAtItsSecond) {
    set_clock("2026-03-07 07:45:00");
    add_alarm("08:00", {"--description", "After the damage"});
    ASSERT_EQ(registered_time(), "2026-03-07 08:00:00");
    ok({"stop"});
    // This process lets go of the file before it is damaged, and opens the new one after.
    host::Device::select(device_root() / "elsewhere");
    damage(GetParam().damage);

    const auto started = handheld({"start"});
    EXPECT_EQ(started.exit_code, 0) << started.err;
    EXPECT_THAT(started.err, HasSubstr("device.db was damaged ("));
    EXPECT_THAT(started.err, HasSubstr("and is kept as " + database().string() + ".damaged-"));
    EXPECT_THAT(started.err, HasSubstr("the registry"));
    ASSERT_EQ(kept_aside().size(), 1u);
    EXPECT_GT(std::filesystem::file_size(kept_aside()[0]) + (GetParam().damage == Damage::emptied), 0u)
        << "the damaged file itself, not an empty stand-in";
    EXPECT_THAT(ok({"status"}), HasSubstr("\ndatabase    device.db was damaged ("));
    const auto log = testing_support::log_lines(device_root(), "notify");
    EXPECT_TRUE(std::any_of(log.begin(), log.end(), [](const std::string& line) {
        return line.starts_with("device.db was damaged (");
    }));

    host::Device::select(device_root());
    // The new database follows the computer's clock: the test's own again (a change of
    // the clock, after which the alarms are found again), then run up to the alarm.
    set_clock("2026-03-07 07:50:00");
    ASSERT_TRUE(eventually([] { return registered_time() == "2026-03-07 08:00:00"; })) << registered_time();
    run_clock_to("2026-03-07 08:00:00");
    ASSERT_TRUE(eventually(reminder_shown)) << "the alarm goes off";
    EXPECT_THAT(reminder_controls(), HasSubstr("\"08:00 AM\""));
}

INSTANTIATE_TEST_SUITE_P(FourWays, DamagedDatabase,
                         ::testing::Values(DamageCase{"Emptied", Damage::emptied},
                                           DamageCase{"CutShortWithItsWal", Damage::cut_short_with_its_wal},
                                           DamageCase{"RandomBytesOverAPage", Damage::random_bytes_over_a_page},
                                           DamageCase{"HeaderOverwritten", Damage::header_overwritten}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
