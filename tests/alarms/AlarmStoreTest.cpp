// The alarm store's rules: where it is, how new files are numbered, which files are
// alarms, the change marker, the list's saved selection and the list refresh.

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <string>
#include <vector>

#include "InstalledHandheld.h"
#include "alarms/ActiveIndex.h"
#include "alarms/AlarmChangeMarker.h"
#include "alarms/AlarmEnumerator.h"
#include "alarms/AlarmFolder.h"
#include "alarms/AlarmNumbering.h"
#include "alarms/AlarmRefresh.h"
#include "alarms/CAlarmDB.h"
#include "ce/Files.h"
#include "ce/Registry.h"

namespace alarm_tests {
namespace {

struct FolderCase {
    const char* name;
    std::u16string program;
    std::u16string alarms;
};

const FolderCase kFolderCases[] = {
    {"Installed", u"\\Program Files\\KIVO\\KIVO.exe", u"\\Program Files\\KIVO\\Alarms\\"},
    {"AtTheRoot", u"\\Alert.exe", u"\\Alarms\\"},
    {"BareName", u"KIVO.exe", u"\\Alarms\\"},
    {"FolderNamedLikeTheProgram", u"\\KIVO.exe old\\KIVO.exe", u"\\KIVO.exe old\\Alarms\\"},
    {"RenamedProgram", u"\\Apps\\Wecker.exe", u"\\Apps\\Alarms\\"},
};

class AlarmFolderRule : public testing::TestWithParam<FolderCase> {};

TEST_P(AlarmFolderRule, IsTheProgramsFolderAndAlarms) {
    EXPECT_EQ(AlarmFolder::PathOf(GetParam().program), GetParam().alarms);
}

INSTANTIATE_TEST_SUITE_P(Paths, AlarmFolderRule, testing::ValuesIn(kFolderCases),
                         [](const auto& row) { return std::string(row.param.name); });

class AlarmStore : public InstalledHandheld {
protected:
    static std::u16string alarms(const std::u16string& name) { return kAlarms + name; }
};

TEST_F(AlarmStore, TheRunningProgramFindsTheStoreBesideIt) {
    EXPECT_EQ(AlarmFolder::ProgramFolder(), u"\\Program Files\\KIVO\\");
    EXPECT_EQ(AlarmFolder::Path(), kAlarms);
}

TEST_F(AlarmStore, NewAlarmNumbersSkipExistingAlarmFilesOnly) {
    touch(alarms(u"500.kivo"));
    touch(alarms(u"501.kivo"));
    touch(alarms(u"502.pdb"));
    EXPECT_EQ(AlarmNumbering::NewAlarmName(kAlarms, 500), u"502.kivo");
    EXPECT_EQ(AlarmNumbering::NewAlarmName(kAlarms, 10), u"10.kivo");
}

TEST_F(AlarmStore, NewAlarmNumbersGiveUpAfterAThousandAndOneCandidates) {
    for (int n = 0; n <= 1000; ++n) touch(alarms(AlarmNumbering::FileName(n, u".kivo")));
    EXPECT_EQ(AlarmNumbering::NewAlarmName(kAlarms, 0), u"");
    EXPECT_EQ(AlarmNumbering::NewAlarmName(kAlarms, 1), u"1001.kivo");
}

TEST_F(AlarmStore, CopyNumbersSkipAnInfraredDatabaseWithoutItsAlarm) {
    touch(alarms(u"700.pdb"));
    touch(alarms(u"701.kivo"));
    EXPECT_EQ(AlarmNumbering::CopyNumber(kAlarms, 700), 702);
    EXPECT_EQ(AlarmNumbering::CopyNumber(kAlarms, 703), 703);
}

TEST_F(AlarmStore, NumbersFromALargeTickCountRunIntoNegativeNames) {
    touch(alarms(AlarmNumbering::FileName(INT_MAX, u".kivo")));
    EXPECT_EQ(AlarmNumbering::NewAlarmName(kAlarms, INT_MAX), u"-2147483648.kivo");
    EXPECT_EQ(AlarmNumbering::CopyNumber(kAlarms, INT_MAX), INT_MIN);
}

TEST_F(AlarmStore, OnlyKivoFilesAreAlarms) {
    touch(alarms(u"1.kivo"));
    touch(alarms(u"2.KIVO"));
    touch(alarms(u"1.pdb"));
    touch(alarms(u"notes.txt"));
    ASSERT_TRUE(ce::CreateDirectoryW(alarms(u"3.kivo").c_str()));
    auto names = AlarmEnumerator::FileNames(kAlarms);
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::u16string>{u"1.kivo", u"2.KIVO"}));
    EXPECT_TRUE(AlarmEnumerator::FileNames(u"\\Missing\\").empty());
}

TEST_F(AlarmStore, TheChangeMarkerIsTheArchiveAttributeAndKeepsTheOthers) {
    const std::u16string path = alarms(u"1.kivo");
    touch(path);
    EXPECT_EQ(AlarmChangeMarker::Read(path), AlarmChangeMarker::State::seen);  // new files carry archive
    ASSERT_TRUE(ce::SetFileAttributesW(path.c_str(), ce::FILE_ATTRIBUTE_READONLY | ce::FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(AlarmChangeMarker::MarkChanged(path));
    EXPECT_EQ(ce::GetFileAttributesW(path.c_str()), ce::FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(AlarmChangeMarker::MarkSeen(path));
    EXPECT_EQ(ce::GetFileAttributesW(path.c_str()), ce::FILE_ATTRIBUTE_READONLY | ce::FILE_ATTRIBUTE_ARCHIVE);
    ASSERT_TRUE(ce::SetFileAttributesW(path.c_str(), ce::FILE_ATTRIBUTE_ARCHIVE));
    ASSERT_TRUE(AlarmChangeMarker::MarkChanged(path));
    EXPECT_EQ(AlarmChangeMarker::Read(path), AlarmChangeMarker::State::changed);
    EXPECT_EQ(AlarmChangeMarker::Read(alarms(u"2.kivo")), AlarmChangeMarker::State::unreadable);
    EXPECT_FALSE(AlarmChangeMarker::MarkSeen(alarms(u"2.kivo")));
}

TEST_F(AlarmStore, ActiveIndexIsZeroUntilWrittenAndSurvivesAsADword) {
    EXPECT_EQ(ActiveIndex::Read(), 0u);
    ASSERT_TRUE(ActiveIndex::Write(4));
    EXPECT_EQ(ActiveIndex::Read(), 4u);
    ce::HKEY key = nullptr;
    ASSERT_EQ(ce::RegOpenKeyExW(ce::HKEY_LOCAL_MACHINE, ActiveIndex::kKeyPath, &key), ce::ERROR_SUCCESS);
    const char16_t text[] = u"7";
    ASSERT_EQ(ce::RegSetValueExW(key, ActiveIndex::kValueName, ce::REG_SZ, reinterpret_cast<const ce::BYTE*>(text),
                                 sizeof text),
              ce::ERROR_SUCCESS);
    ce::RegCloseKey(key);
    EXPECT_EQ(ActiveIndex::Read(), 0u);  // not a DWORD: as absent
}

// A list that records what the refresh did to it.
class RecordedRows : public AlarmRows {
public:
    explicit RecordedRows(std::vector<std::u16string> names) : names_(std::move(names)), active_(names_.size(), -1) {}
    std::size_t RowCount() const override { return names_.size(); }
    std::u16string RowFileName(std::size_t row) const override { return names_[row]; }
    void SetRowActive(std::size_t row, bool active) override { active_[row] = active ? 1 : 0; }
    const std::vector<int>& active() const { return active_; }  // -1: untouched

private:
    std::vector<std::u16string> names_;
    std::vector<int> active_;
};

TEST_F(AlarmStore, RefreshRereadsOnlyTheFilesAlertChanged) {
    AlarmSpec armed;
    armed.time = {7, 0};
    const auto changed_on = write_alarm(1, armed);
    AlarmSpec disarmed = armed;
    disarmed.active = 0;
    const auto changed_off = write_alarm(2, disarmed);
    const auto seen = write_alarm(3, armed);
    AlarmSpec no_active = armed;
    no_active.active.reset();
    const auto changed_absent = write_alarm(4, no_active);
    const auto not_listed = write_alarm(5, armed);
    for (const auto& path : {changed_on, changed_off, changed_absent, not_listed})
        ASSERT_TRUE(AlarmChangeMarker::MarkChanged(path));

    RecordedRows rows({u"1.KIVO", u"2.kivo", u"3.kivo", u"4.kivo"});
    ASSERT_TRUE(AlarmRefresh::Run(kAlarms, rows));

    EXPECT_EQ(rows.active(), (std::vector<int>{1, 0, -1, 0}));
    for (const auto& path : {changed_on, changed_off, seen, changed_absent, not_listed})
        EXPECT_EQ(AlarmChangeMarker::Read(path), AlarmChangeMarker::State::seen);

    RecordedRows again({u"1.kivo"});
    ASSERT_TRUE(AlarmRefresh::Run(kAlarms, again));
    EXPECT_EQ(again.active(), std::vector<int>{-1});
}

}  // namespace
}  // namespace alarm_tests
