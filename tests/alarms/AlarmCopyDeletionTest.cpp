// Copying and deleting alarms with their infrared databases.

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>

#include "InstalledHandheld.h"
#include "alarms/AlarmCopy.h"
#include "alarms/AlarmDeletion.h"
#include "alarms/CAlarmDB.h"
#include "ce/Files.h"
#include "ce/Text.h"
#include "irlib/card/codebase.h"
#include "irlib/card/database_registry.h"

namespace alarm_tests {
namespace {

constexpr std::array<std::uint8_t, 4> kRecord0{};

bool exists(const std::u16string& path) { return ce::GetFileAttributesW(path.c_str()) != ce::INVALID_FILE_ATTRIBUTES; }

class AlarmCopyDeletion : public InstalledHandheld {
protected:
    void SetUp() override {
        InstalledHandheld::SetUp();
        codebases().set_codebase_folder(kAlarms);
    }
    static platform::card::database_registry& codebases() { return platform::card::database_registry::instance(); }

    // An armed alarm "7.kivo" whose commands are in "7.pdb".
    void write_alarm_with_commands() {
        AlarmSpec spec;
        spec.time = std::pair{6, 30};
        write_alarm(7, spec);
        CAlarmDB alarm;
        ASSERT_EQ(alarm.Open(std::u16string(kAlarms) + u"7.kivo"), CAlarmDB::kOk);
        ASSERT_EQ(alarm.SetIrDatabase(u"7"), CAlarmDB::kOk);
        ASSERT_EQ(codebases().create_codebase("7", kRecord0), 0);
    }

    static std::u16string ir_database_of(const std::u16string& name) {
        CAlarmDB alarm;
        std::u16string database;
        if (alarm.Open(kAlarms + name) != CAlarmDB::kOk || !alarm.ReadIrDatabase(database)) return u"<none>";
        return database;
    }
    static int active_of(const std::u16string& name) {
        CAlarmDB alarm;
        std::uint8_t active = 0xEE;
        if (alarm.Open(kAlarms + name) != CAlarmDB::kOk || alarm.GetActive(active) != CAlarmDB::kOk) return -1;
        return active;
    }
    static std::u16string base_of(const std::u16string& name) { return name.substr(0, name.size() - 5); }
};

TEST_F(AlarmCopyDeletion, ACopyHasItsOwnInfraredDatabaseAndIsNeverArmed) {
    write_alarm_with_commands();
    const auto copy = AlarmCopy::Run(kAlarms, u"7.kivo", codebases());
    ASSERT_EQ(copy.status, AlarmCopy::Status::copied);
    ASSERT_NE(copy.file_name, u"7.kivo");

    const std::u16string base = base_of(copy.file_name);
    EXPECT_EQ(ir_database_of(copy.file_name), base);
    EXPECT_EQ(active_of(copy.file_name), 0);
    EXPECT_TRUE(exists(kAlarms + base + u".pdb"));
    // The copied database carries the new name, so a rescan finds both alarms' commands.
    codebases().rescan();
    platform::card::codebase reader;
    EXPECT_EQ(reader.open(ce::ansi_from_wide(base)), 0);
    EXPECT_EQ(reader.record_count(), 1u);

    EXPECT_EQ(ir_database_of(u"7.kivo"), u"7");
    EXPECT_EQ(active_of(u"7.kivo"), 1);
}

// The file system finds "7.KIVO" as "7.kivo"; the copy finds its infrared database too.
TEST_F(AlarmCopyDeletion, AnExtensionInCapitalsStillCopiesTheDatabase) {
    write_alarm_with_commands();
    const auto copy = AlarmCopy::Run(kAlarms, u"7.KIVO", codebases());
    ASSERT_EQ(copy.status, AlarmCopy::Status::copied);
    EXPECT_TRUE(exists(kAlarms + base_of(copy.file_name) + u".pdb"));
}

TEST_F(AlarmCopyDeletion, AnAlarmWithoutCommandsIsCopiedWithoutADatabase) {
    AlarmSpec spec;
    spec.time = std::pair{7, 0};
    write_alarm(8, spec);
    const auto copy = AlarmCopy::Run(kAlarms, u"8.kivo", codebases());
    ASSERT_EQ(copy.status, AlarmCopy::Status::copied);
    EXPECT_FALSE(exists(kAlarms + base_of(copy.file_name) + u".pdb"));
    EXPECT_EQ(active_of(copy.file_name), 0);
}

TEST_F(AlarmCopyDeletion, AMissingSourceFailsWithTheCopyMessageAndCreatesNothing) {
    const auto copy = AlarmCopy::Run(kAlarms, u"404.kivo", codebases());
    EXPECT_EQ(copy.status, AlarmCopy::Status::copy_failed);
    EXPECT_EQ(AlarmCopy::MessageOf(copy.status), u"Fail to copy Alert file");
    EXPECT_TRUE(copy.file_name.empty());
}

TEST_F(AlarmCopyDeletion, ACopyThatCannotBeDisarmedIsRemovedAgain) {
    write_alarm_with_commands();
    // A read-only source gives a read-only copy, which cannot be opened for its update.
    ASSERT_TRUE(ce::SetFileAttributesW((std::u16string(kAlarms) + u"7.kivo").c_str(), ce::FILE_ATTRIBUTE_READONLY));
    const auto copy = AlarmCopy::Run(kAlarms, u"7.kivo", codebases());
    ASSERT_EQ(copy.status, AlarmCopy::Status::update_failed);
    EXPECT_EQ(AlarmCopy::MessageOf(copy.status), u"Fail to set Macro to Alert file");

    ce::WIN32_FIND_DATAW found{};
    std::u16string pattern = std::u16string(kAlarms) + u"*";
    ce::HANDLE search = ce::FindFirstFileW(pattern.c_str(), &found);
    ASSERT_NE(search, ce::INVALID_HANDLE_VALUE);
    int files = 0;
    do ++files;
    while (ce::FindNextFileW(search, &found));
    ce::FindClose(search);
    EXPECT_EQ(files, 2) << "only 7.kivo and 7.pdb are left";
    EXPECT_EQ(codebases().list_codebases(true).size(), 1u);
}

TEST_F(AlarmCopyDeletion, DeletingRemovesTheAlarmAndItsDatabase) {
    write_alarm_with_commands();
    ASSERT_TRUE(AlarmDeletion::Run(kAlarms, u"7.kivo", codebases()));
    EXPECT_FALSE(exists(std::u16string(kAlarms) + u"7.kivo"));
    EXPECT_FALSE(exists(std::u16string(kAlarms) + u"7.pdb"));
    EXPECT_FALSE(codebases().codebase_exists("7"));
    EXPECT_TRUE(codebases().list_codebases(false).empty());
}

TEST_F(AlarmCopyDeletion, AnAlarmFileThatCannotBeDeletedKeepsItsDatabase) {
    write_alarm_with_commands();
    const std::u16string path = std::u16string(kAlarms) + u"7.kivo";
    ce::HANDLE held = ce::CreateFileW(path.c_str(), ce::GENERIC_READ, 0, ce::OPEN_EXISTING);
    ASSERT_NE(held, ce::INVALID_HANDLE_VALUE);
    EXPECT_FALSE(AlarmDeletion::Run(kAlarms, u"7.kivo", codebases()));
    ce::CloseHandle(held);
    EXPECT_TRUE(exists(path));
    EXPECT_TRUE(exists(std::u16string(kAlarms) + u"7.pdb"));
    EXPECT_TRUE(codebases().codebase_exists("7"));
}

}  // namespace
}  // namespace alarm_tests
